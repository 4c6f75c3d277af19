// The OBJECTS section: dictionaries, layouts and groups become database objects, every other object
// is kept raw. The first dictionary is the named-objects dictionary.
#include <fmt/format.h>

#include "database_impl.h"
#include "reader.h"

namespace gantrel::dxf {

void FileReader::readObjects() {
    Record r;
    while (next(r)) {
        if (r.name == "ENDSEC")
            return;
        if (r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "section OBJECTS is not closed by ENDSEC");
        const Kind* kind = nullptr;
        if (r.name == "DICTIONARY" || r.name == "LAYOUT" || r.name == "GROUP")
            kind = kindForRecord(r.name, r.groups);
        RecordInfo info;
        ZcDbObject* obj = readObjectRecord(r, kind, info);
        if (m_rootDictionary.isNull() && ZcDbDictionary::cast(obj))
            m_rootDictionary = obj->objectId();
        m_owners.emplace_back(obj, info.hasOwner ? info.owner : 0);
    }
    fail(m_records.endLine() + 1, "the file ends inside section OBJECTS (truncated)");
}

} // namespace gantrel::dxf

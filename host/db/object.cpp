// Objects, ids and handles: the open discipline and extended data common to every object.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "database_impl.h"

const ZcDbObjectId ZcDbObjectId::kNull{};

ZcRxClass* ZcRxObject::desc() {
    static ZcRxClass klass(L"ZcRxObject", nullptr, nullptr);
    return &klass;
}

ZCRX_DEFINE_MEMBERS(ZcDbObject, ZcRxObject, nullptr)

// --- handles -------------------------------------------------------------------------------

ZcDbHandle::ZcDbHandle(const wchar_t* hex) {
    if (!hex || !*hex)
        return;
    std::uint64_t value = 0;
    int digits = 0;
    for (const wchar_t* p = hex; *p; ++p) {
        const wchar_t c = *p;
        int d;
        if (c >= L'0' && c <= L'9')
            d = c - L'0';
        else if (c >= L'a' && c <= L'f')
            d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            d = c - L'A' + 10;
        else
            return; // not hexadecimal: the null handle
        if (++digits > 16)
            return;
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    m_value = value;
}

void ZcDbHandle::getIntoAsciiBuffer(wchar_t* buffer, std::size_t size) const {
    if (size == 0)
        return;
    std::swprintf(buffer, size, L"%llX", static_cast<unsigned long long>(m_value));
}

std::wstring ZcDbHandle::text() const {
    wchar_t buffer[17];
    getIntoAsciiBuffer(buffer, 17);
    return buffer;
}

// --- ids -----------------------------------------------------------------------------------

bool ZcDbObjectId::isErased() const {
    return m_stub && m_stub->erased;
}

ZcDbHandle ZcDbObjectId::handle() const {
    return m_stub ? ZcDbHandle(m_stub->handle) : ZcDbHandle();
}

ZcDbDatabase* ZcDbObjectId::database() const {
    return m_stub ? m_stub->database : nullptr;
}

ZcRxClass* ZcDbObjectId::objectClass() const {
    return m_stub && m_stub->object ? m_stub->object->isA() : nullptr;
}

// --- objects -------------------------------------------------------------------------------

// A copy is a clone: it remembers the root of the chain it was cloned from.
ZcDbObject::ZcDbObject(const ZcDbObject& other)
    : ZcRxObject(other), m_xdata(other.m_xdata),
      m_origin(other.m_origin.isNull() ? other.handle() : other.m_origin) {}

ZcDbObject::~ZcDbObject() = default;

ZcDbObjectId ZcDbObject::objectId() const {
    return ZcDbObjectId::fromStub(m_stub);
}

ZcDbHandle ZcDbObject::handle() const {
    return m_stub ? ZcDbHandle(m_stub->handle) : ZcDbHandle();
}

ZcDbDatabase* ZcDbObject::database() const {
    return m_stub ? m_stub->database : nullptr;
}

Zcad::ErrorStatus ZcDbObject::setOwnerId(ZcDbObjectId owner) {
    m_ownerId = owner;
    return Zcad::eOk;
}

bool ZcDbObject::isErased() const {
    return m_stub && m_stub->erased;
}

bool ZcDbObject::isReadEnabled() const {
    return !m_stub || m_stub->readers > 0 || m_stub->writer;
}

bool ZcDbObject::isWriteEnabled() const {
    return !m_stub || m_stub->writer;
}

Zcad::ErrorStatus ZcDbObject::assertWriteEnabled() const {
    return isWriteEnabled() ? Zcad::eOk : Zcad::eNotOpenForWrite;
}

Zcad::ErrorStatus ZcDbObject::close() {
    if (!m_stub)
        return Zcad::eNotInDatabase;
    if (m_stub->writer) {
        m_stub->writer = false;
        return Zcad::eOk;
    }
    if (m_stub->readers > 0) {
        --m_stub->readers;
        return Zcad::eOk;
    }
    return Zcad::eNotOpenForRead;
}

Zcad::ErrorStatus ZcDbObject::upgradeOpen() {
    if (!m_stub)
        return Zcad::eNotInDatabase;
    if (m_stub->writer)
        return Zcad::eOk;
    if (m_stub->readers != 1)
        return m_stub->readers == 0 ? Zcad::eNotOpenForRead : Zcad::eWasOpenedForRead;
    m_stub->readers = 0;
    m_stub->writer = true;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::downgradeOpen() {
    if (!m_stub)
        return Zcad::eNotInDatabase;
    if (!m_stub->writer)
        return Zcad::eNotOpenForWrite;
    m_stub->writer = false;
    m_stub->readers = 1;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::erase(bool erasing) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!m_stub)
        return Zcad::eNotInDatabase;
    if (m_stub->erased == erasing)
        return erasing ? Zcad::eWasErased : Zcad::eOk;
    m_stub->erased = erasing;
    subErase(erasing);
    return Zcad::eOk;
}

Zcad::ErrorStatus zcdbOpenObject(ZcDbObject*& obj, ZcDbObjectId id, ZcDb::OpenMode mode,
                                 bool openErased) {
    obj = nullptr;
    ZcDbStub* stub = id.stub();
    if (!stub || !stub->object)
        return Zcad::eNullObjectId;
    if (stub->erased && !openErased)
        return Zcad::eWasErased;
    if (mode == ZcDb::kForWrite) {
        if (stub->writer)
            return Zcad::eWasOpenedForWrite;
        if (stub->readers > 0)
            return Zcad::eWasOpenedForRead;
        stub->writer = true;
    } else {
        if (stub->writer)
            return Zcad::eWasOpenedForWrite;
        ++stub->readers;
    }
    obj = stub->object.get();
    return Zcad::eOk;
}

// --- extended data -------------------------------------------------------------------------

namespace {

bool sameName(const std::wstring& a, const wchar_t* b) {
    if (!b)
        return false;
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towupper(a[i]) != std::towupper(b[i]))
            return false;
    return i == a.size() && b[i] == 0;
}

wchar_t* copyString(const std::wstring& s) {
    auto* out = static_cast<wchar_t*>(std::malloc((s.size() + 1) * sizeof(wchar_t)));
    std::wmemcpy(out, s.c_str(), s.size() + 1);
    return out;
}

resbuf* itemToResbuf(const ZcDbXDataItem& item) {
    resbuf* rb = zcutNewRb(item.code);
    if (const auto* s = std::get_if<std::wstring>(&item.value)) {
        rb->resval.rstring = copyString(*s);
    } else if (const auto* d = std::get_if<double>(&item.value)) {
        rb->resval.rreal = *d;
    } else if (const auto* p = std::get_if<ZcGePoint3d>(&item.value)) {
        rb->resval.rpoint[0] = p->x;
        rb->resval.rpoint[1] = p->y;
        rb->resval.rpoint[2] = p->z;
    } else if (const auto* i16 = std::get_if<std::int16_t>(&item.value)) {
        rb->resval.rint = *i16;
    } else if (const auto* i32 = std::get_if<std::int32_t>(&item.value)) {
        rb->resval.rlong = *i32;
    } else if (const auto* bin = std::get_if<std::vector<unsigned char>>(&item.value)) {
        rb->resval.rbinary.clen = static_cast<short>(bin->size());
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(bin->size() ? bin->size() : 1));
        std::memcpy(rb->resval.rbinary.buf, bin->data(), bin->size());
    }
    return rb;
}

// Reads one result buffer as an extended-data item; false for a code outside 1000..1071 or a
// value missing from the buffer.
bool resbufToItem(const resbuf* rb, ZcDbXDataItem& item) {
    item.code = rb->restype;
    switch (zcutResValueKind(rb->restype)) {
    case ZcResValueKind::String:
        if (!rb->resval.rstring)
            return false;
        item.value = std::wstring(rb->resval.rstring);
        return true;
    case ZcResValueKind::Real:
        item.value = rb->resval.rreal;
        return true;
    case ZcResValueKind::Point:
        item.value = ZcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
        return true;
    case ZcResValueKind::Short:
        item.value = static_cast<std::int16_t>(rb->resval.rint);
        return true;
    case ZcResValueKind::Long:
        item.value = static_cast<std::int32_t>(rb->resval.rlong);
        return true;
    case ZcResValueKind::Binary: {
        const auto* b = reinterpret_cast<const unsigned char*>(rb->resval.rbinary.buf);
        const int len = rb->resval.rbinary.clen;
        if (len < 0 || (len > 0 && !b))
            return false;
        item.value = std::vector<unsigned char>(b, b + len);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

resbuf* ZcDbObject::xData(const wchar_t* appName) const {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    auto link = [&](resbuf* rb) {
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
    };
    for (const ZcDbXDataApp& app : m_xdata) {
        if (appName && !sameName(app.appName, appName))
            continue;
        resbuf* name = zcutNewRb(1001);
        name->resval.rstring = copyString(app.appName);
        link(name);
        for (const ZcDbXDataItem& item : app.items)
            link(itemToResbuf(item));
    }
    return head;
}

Zcad::ErrorStatus ZcDbObject::setXData(const resbuf* xdata) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // Parse the whole chain first, so that a bad chain changes nothing.
    std::vector<ZcDbXDataApp> apps;
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
        if (rb->restype == 1001) {
            if (!rb->resval.rstring || !*rb->resval.rstring)
                return Zcad::eInvalidInput;
            apps.push_back({rb->resval.rstring, {}});
            continue;
        }
        if (apps.empty() || rb->restype < 1000 || rb->restype > 1071)
            return Zcad::eInvalidInput;
        ZcDbXDataItem item;
        if (!resbufToItem(rb, item))
            return Zcad::eInvalidInput;
        apps.back().items.push_back(std::move(item));
    }
    if (ZcDbDatabase* db = database()) {
        ZcDbRegAppTable* table = nullptr;
        for (const ZcDbXDataApp& app : apps) {
            if (db->getRegAppTable(table, ZcDb::kForRead) != Zcad::eOk)
                return Zcad::eNoDatabase;
            const bool known = table->has(app.appName.c_str());
            table->close();
            if (!known)
                return Zcad::eKeyNotFound;
        }
    }
    for (ZcDbXDataApp& app : apps) {
        auto it = std::find_if(m_xdata.begin(), m_xdata.end(), [&](const ZcDbXDataApp& a) {
            return sameName(a.appName, app.appName.c_str());
        });
        if (app.items.empty()) {
            if (it != m_xdata.end())
                m_xdata.erase(it);
        } else if (it != m_xdata.end()) {
            it->items = std::move(app.items);
        } else {
            m_xdata.push_back(std::move(app));
        }
    }
    return Zcad::eOk;
}

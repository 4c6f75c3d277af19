#include "takeoff/PrzedmiarStore.h"

#include <cstdlib>
#include <cwchar>
#include <memory>

namespace gantrel {

namespace {

// Wide enough for any double in fixed notation.
std::wstring Formatted(const wchar_t* format, double value) {
    wchar_t buffer[512];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], format, value);
    return buffer;
}

struct ChainRelease {
    void operator()(resbuf* chain) const { zcutRelRb(chain); }
};
using Chain = std::unique_ptr<resbuf, ChainRelease>;

resbuf* NewString(int code, const std::wstring& text) {
    resbuf* record = zcutNewRb(code);
    const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
    record->resval.rstring = static_cast<wchar_t*>(std::malloc(size));
    std::wmemcpy(record->resval.rstring, text.c_str(), text.size() + 1);
    return record;
}

} // namespace

int PrzedmiarDictionary(ZcDbDatabase* db, ZcDbObjectId& id) {
    if (db == nullptr) {
        return Zcad::eNoDatabase;
    }
    ZcDbDictionary* named = nullptr;
    if (const Zcad::ErrorStatus es = db->getNamedObjectsDictionary(named, ZcDb::kForRead);
        es != Zcad::eOk) {
        return es;
    }
    Zcad::ErrorStatus es = named->getAt(kPrzedmiarDictionary, id);
    if (es == Zcad::eOk) {
        named->close();
        return es;
    }
    es = named->upgradeOpen();
    if (es == Zcad::eOk) {
        auto* store = new ZcDbDictionary;
        es = named->setAt(kPrzedmiarDictionary, store, id);
        if (es == Zcad::eOk) {
            store->close();
        } else {
            delete store;
        }
    }
    named->close();
    return es;
}

std::wstring XDataRecordText(const resbuf& record) {
    const int code = record.restype;
    if ((code >= 1000 && code <= 1003) || code == 1005) {
        return record.resval.rstring != nullptr ? record.resval.rstring : L"";
    }
    if ((code >= 1010 && code <= 1013) || (code >= 1020 && code <= 1023) ||
        (code >= 1030 && code <= 1033)) {
        return Formatted(L"%0.6f", record.resval.rpoint[0]);
    }
    if (code >= 1040 && code <= 1042) {
        return Formatted(L"%0.6f", record.resval.rreal);
    }
    if (code == 1070) {
        return std::to_wstring(record.resval.rint);
    }
    return {};
}

std::vector<std::wstring> ReadPrzedmiarEntry(ZcDbDatabase* db, const std::wstring& appName) {
    std::vector<std::wstring> values;
    ZcDbObjectId id;
    if (PrzedmiarDictionary(db, id) != Zcad::eOk) {
        return values;
    }
    ZcDbObject* store = nullptr;
    if (zcdbOpenObject(store, id, ZcDb::kForRead) != Zcad::eOk) {
        return values;
    }
    const Chain entry(store->xData(appName.c_str()));
    store->close();
    if (!entry) {
        return values;
    }
    // The first record names the application.
    for (const resbuf* record = entry->rbnext; record != nullptr; record = record->rbnext) {
        values.push_back(XDataRecordText(*record));
    }
    return values;
}

int WritePrzedmiarEntry(ZcDbDatabase* db, const std::wstring& appName,
                        const std::vector<std::wstring>& values) {
    ZcDbObjectId id;
    if (const int status = PrzedmiarDictionary(db, id); status != Zcad::eOk) {
        return status;
    }
    if (const Zcad::ErrorStatus es = zcdbRegApp(db, appName.c_str()); es != Zcad::eOk) {
        return es;
    }
    const Chain entry(NewString(1001, appName));
    resbuf* tail = entry.get();
    for (const std::wstring& value : values) {
        tail->rbnext = NewString(1000, value);
        tail = tail->rbnext;
    }
    ZcDbObject* store = nullptr;
    Zcad::ErrorStatus es = zcdbOpenObject(store, id, ZcDb::kForWrite);
    if (es != Zcad::eOk) {
        return es;
    }
    es = store->setXData(entry.get());
    store->close();
    return es;
}

} // namespace gantrel

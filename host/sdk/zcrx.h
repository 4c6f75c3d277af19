// Runtime classes of the host interface: class descriptors and kind tests.
#pragma once

class ZcRxClass {
public:
    ZcRxClass(const wchar_t* name, const ZcRxClass* parent, const wchar_t* dxfName)
        : m_name(name), m_parent(parent), m_dxfName(dxfName) {}
    ZcRxClass(const ZcRxClass&) = delete;
    ZcRxClass& operator=(const ZcRxClass&) = delete;

    const wchar_t* name() const { return m_name; }
    const wchar_t* dxfName() const { return m_dxfName; }
    const ZcRxClass* myParent() const { return m_parent; }
    bool isDerivedFrom(const ZcRxClass* other) const {
        for (const ZcRxClass* c = this; c; c = c->m_parent)
            if (c == other)
                return true;
        return false;
    }

private:
    const wchar_t* m_name;
    const ZcRxClass* m_parent;
    const wchar_t* m_dxfName;
};

class ZcRxObject {
public:
    virtual ~ZcRxObject() = default;
    static ZcRxClass* desc();
    virtual ZcRxClass* isA() const { return desc(); }
    bool isKindOf(const ZcRxClass* c) const { return isA()->isDerivedFrom(c); }
    // A new object of the same class with the same data, not in any database.
    virtual ZcRxObject* clone() const { return nullptr; }

    template <typename T> static T* cast(ZcRxObject* o) {
        return o && o->isKindOf(T::desc()) ? static_cast<T*>(o) : nullptr;
    }
    template <typename T> static const T* cast(const ZcRxObject* o) {
        return o && o->isKindOf(T::desc()) ? static_cast<const T*>(o) : nullptr;
    }
};

// Declares the runtime class members of a concrete class.
#define ZCRX_DECLARE_MEMBERS(CLASS)                                                                \
    static ZcRxClass* desc();                                                                      \
    ZcRxClass* isA() const override {                                                              \
        return desc();                                                                             \
    }                                                                                              \
    static CLASS* cast(ZcRxObject* o) {                                                            \
        return ZcRxObject::cast<CLASS>(o);                                                         \
    }                                                                                              \
    static const CLASS* cast(const ZcRxObject* o) {                                                \
        return ZcRxObject::cast<CLASS>(o);                                                         \
    }

// Defines the descriptor of CLASS with PARENT as its base and DXFNAME as its DXF entity name.
#define ZCRX_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                                                \
    ZcRxClass* CLASS::desc() {                                                                     \
        static ZcRxClass klass(L## #CLASS, PARENT::desc(), DXFNAME);                               \
        return &klass;                                                                             \
    }

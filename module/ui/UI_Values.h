// Small value classes of the dialogs: a string list and a path with forward slashes.
#pragma once

#include "afxwin.h"

namespace gantrel {

class UI_StringArray : public CStringArray {
public:
    UI_StringArray() = default;
    UI_StringArray(std::initializer_list<const wchar_t*> texts) {
        for (const wchar_t* text : texts) {
            Add(text);
        }
    }
    ~UI_StringArray() override = default;
    UI_StringArray(const UI_StringArray&) = default;
    UI_StringArray& operator=(const UI_StringArray&) = default;
};

// A path in which every backslash, single or doubled, has become one forward slash.
class UI_Path : public CString {
public:
    UI_Path() = default;
    UI_Path(const CString& path); // NOLINT: converts as a string does
};

} // namespace gantrel

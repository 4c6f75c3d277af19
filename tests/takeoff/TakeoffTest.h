// A host session over an empty drawing whose suite folder is a fresh temporary folder, in which
// a test writes its own "Tallimo.ini" and "Tallimo.cfg", and helpers that build description
// blocks and labelled references. The module-wide takeoff settings are emptied before and
// after every test, so no test sees another's.
#pragma once

#include "DrawingTest.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class TakeoffTest : public DrawingTest {
protected:
    TakeoffTest();
    ~TakeoffTest() override;

    void writeSuiteFile(const std::string& name, const std::string& text) const;
    std::wstring suitePath(const std::string& name) const;

    // A block of attribute definitions (tag, default text, constant) at increasing heights.
    ZcDbObjectId addDescriptionBlock(const wchar_t* name,
                                     const std::vector<std::pair<std::wstring, bool>>& tags);
    // A reference of the block carrying attributes (tag, text).
    ZcDbObjectId addLabel(ZcDbObjectId block,
                          const std::vector<std::pair<std::wstring, std::wstring>>& attributes);

    // The LISP symbols set since the test began, in order, as "NAME=value".
    std::vector<std::string> symbolWrites();

    std::filesystem::path suite;
};

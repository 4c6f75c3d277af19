#include "frame/Printer.h"

#include "zcadstatus.h"
#include "zcutil.h"

namespace gantrel {

void ZWPrinter::PrintLines(const std::vector<std::wstring>& lines) {
    for (const std::wstring& line : lines) {
        NewLine();
        PrintText(line);
    }
    NewLine();
}

void ZWPrinter::PrintText(const std::wstring& text) {
    zcutPrintf(L"%s", text.c_str());
}

void ZWPrinter::NewLine() {
    zcutPrintf(L"%s", L"\n");
}

void PrintOnCommandLine(const std::wstring& text, bool leadingBreak) {
    if (leadingBreak) {
        zcutPrintf(L"%s", L"\n");
    }
    zcutPrintf(L"%s", text.c_str());
}

void PrintErrorStatus(int status) {
    const wchar_t* text = zcadErrorStatusText(static_cast<Zcad::ErrorStatus>(status));
    zcutPrintf(L"%s", L" es: ");
    zcutPrintf(L"%s", text != nullptr ? text : L"");
}

void PrintPoint(double x, double y, double z) {
    zcutPrintf(L"%0.4f, %0.4f, %0.4f", x, y, z);
}

void PrintPoint(const double point[3]) {
    PrintPoint(point[0], point[1], point[2]);
}

} // namespace gantrel

// Printing on the host's command line. Every message of the module goes through these.
#pragma once

#include <string>
#include <vector>

namespace gantrel {

// Something that prints lines of text.
class Printer {
public:
    virtual void PrintLines(const std::vector<std::wstring>& lines) = 0;
    virtual void PrintText(const std::wstring& text) = 0;
    virtual void NewLine() = 0;
    virtual ~Printer() = default;
};

// Prints on the host's command line.
class ZWPrinter : public Printer {
public:
    // Each line is preceded by a line break, and one more break ends the list (an empty list
    // prints a single break).
    void PrintLines(const std::vector<std::wstring>& lines) override;
    // The text unchanged.
    void PrintText(const std::wstring& text) override;
    void NewLine() override;
};

// Prints the text, preceded by "\n" when leadingBreak is set.
void PrintOnCommandLine(const std::wstring& text, bool leadingBreak);
// Prints " es: " and the host's text for the status.
void PrintErrorStatus(int status);
// Prints a point as "x, y, z" with four decimals.
void PrintPoint(double x, double y, double z);
void PrintPoint(const double point[3]);

} // namespace gantrel

// The English language pack. The module asks for each text by number through SetUp. Prompts of
// entity picks end with ": " as the command line shows them; point prompts and number prompts do
// not, since the module adds ": " or ":<default>" itself. The nesting summary texts are printf
// formats.
#include "frame/LanguagePackApi.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace {

struct Text {
    unsigned id;
    const wchar_t* text;
};

// Sorted by identifier.
constexpr Text kTexts[] = {
    // Dialog buttons.
    {30004, L"Cancel"},
    {30005, L"Save"},
    // Nesting settings dialog.
    {30020, L"Nesting settings"},
    {30101, L"Rotation step (degrees)"},
    {30102, L"Spacing between parts"},
    {30103, L"Population size"},
    {30104, L"Mutation rate (percent)"},
    {30105, L"Allow rotation"},
    {30108, L"Arc precision (divisions)"},
    {30113, L"Maximum calculation time"},
    {30114, L"Generations"},
    {30115, L"Keep improving until the maximum time"},
    // Nesting command and its run.
    {30301, L"Select the sheet outline (a polyline): "},
    {30302, L"Select the parts to nest: "},
    {30311, L"Nesting summary"},
    {30312, L"Parts: %d, placed: %d, not placed: %d"},
    {30313, L"Width used on the sheet: %.3f"},
    {30314, L"Sheet usage: %.2f%%"},
    {30316, L"Stop nesting"},
    // Block commands.
    {40101, L"Select the target block reference: "},
    {40102, L"Select object: "},
    // Measuring commands.
    {40103, L"Specify first point"},
    {40210, L"Specify point"},
    // Grid command.
    {40301, L"Number of horizontal lines"},
    {40302, L"Number of vertical lines"},
    {40303, L"Specify first corner"},
    {40304, L"Specify opposite corner"},
    // Measuring commands.
    {40401, L"Total length:"},
    {40403, L"Specify second point"},
    // Attribute value lists dialog.
    {50003, L"Add values from file..."},
    {50005, L"Add value"},
    {50006, L"Remove"},
    {50007, L"Duplicate"},
    // Takeoff settings dialog: title, row labels and column headers.
    {51000, L"Takeoff settings"},
    {51001, L"Text size"},
    {51003, L"Hatch pattern"},
    {51004, L"Hatch scale"},
    {51005, L"Units"},
    {51006, L"Description block"},
    {51008, L"Area attribute"},
    {51009, L"Area unit attribute"},
    {51010, L"Length attribute"},
    {51011, L"Length unit attribute"},
    {51012, L"Number attribute"},
    {51013, L"Description attribute"},
    {51014, L"Location attribute"},
    {51015, L"Expression attribute"},
    {51016, L"Identifier attribute"},
    {51018, L"Background type"},
    {51019, L"Frame"},
    {51020, L"Wipeout"},
    {51021, L"None"},
    {51022, L"Setting"},
    {51023, L"Value"},
    {51024, L"Precision"},
    // Takeoff settings dialog: pages.
    {51100, L"Drawing"},
    {51101, L"Hatch"},
    {51102, L"Area description"},
    {51103, L"Length description"},
    {51104, L"Count description"},
    {51105, L"Background"},
    // Attribute value lists dialog; takeoff distance command.
    {52006, L"Refill all values"},
    {52008, L"Specify next point"},
};

static_assert(std::is_sorted(std::begin(kTexts), std::end(kTexts),
                             [](const Text& a, const Text& b) { return a.id < b.id; }));

} // namespace

// Fills `text` with the text of `id`; an identifier without a text leaves it empty.
extern "C" void SetUp(unsigned id, std::wstring& text) {
    // The signature must stay that of the module's declaration.
    static_assert(std::is_same_v<decltype(&SetUp), gantrel::LanguagePackSetUp>);
    const auto found =
        std::lower_bound(std::begin(kTexts), std::end(kTexts), id,
                         [](const Text& entry, unsigned key) { return entry.id < key; });
    if (found != std::end(kTexts) && found->id == id) {
        text = found->text;
    } else {
        text.clear();
    }
}

// A language-pack-like library: one exported function that fills a text for an identifier.
#include <cwchar>

extern "C" __attribute__((visibility("default"))) void SetUp(unsigned id, wchar_t* out,
                                                             unsigned size) {
    std::swprintf(out, size, L"text %u", id);
}

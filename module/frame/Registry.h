// Reading string values from the system registry, and the suite's installation folder.
#pragma once

#include "winstandin.h"

#include <string>

namespace gantrel {

// One registry key opened for reading. Failures are silent unless showErrors is set, in which
// case each failing system call is shown in an error box with the variant's caption.
class RegistryKey {
public:
    explicit RegistryKey(HKEY root = HKEY_LOCAL_MACHINE, bool showErrors = false);
    virtual ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Fails when a key is already open (that key stays open).
    bool Open(const std::wstring& subKey);
    // The string value, read whole whatever its length; empty when no key is open or the read
    // fails.
    std::wstring ReadString(const std::wstring& valueName);
    // A failure leaves the handle set.
    bool Close();
    bool IsOpen() const { return key_ != nullptr; }

protected:
    virtual const wchar_t* ErrorCaption() const { return L"registry operation failed"; }

private:
    void Report(LSTATUS error) const;

    HKEY key_ = nullptr;
    HKEY root_;
    REGSAM access_ = KEY_READ;
    bool showErrors_;
};

// The second variant; it differs only in the caption of its error box.
class Rejestr : public RegistryKey {
public:
    using RegistryKey::RegistryKey;

protected:
    const wchar_t* ErrorCaption() const override { return L"Błąd podczas operacji na rejestrach"; }
};

// Opens, reads and closes; empty when the key cannot be opened or has no such value.
std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey,
                                const std::wstring& valueName);

// The key of a product of the suite: "SOFTWARE\KORVANT\<product>\<version>".
std::wstring ProductKey(const std::wstring& product, const std::wstring& version);

// The suite's folder ("Path" of Orvendel 2027). When it is not set, prints "Tools_App" and the
// host's text of status 73 and returns the empty string.
std::wstring GetOrvendelDirectory();

} // namespace gantrel

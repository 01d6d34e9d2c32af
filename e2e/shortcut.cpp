#include "e2e/shortcut.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

namespace e2e {

namespace {

template <typename T>
struct Released {
    T* p = nullptr;
    Released() = default;
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    ~Released() {
        if (p) p->Release();
    }
};

std::string failure(const char* what, HRESULT result) {
    char text[96];
    wsprintfA(text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
    return text;
}

// The COM objects are gone when this returns, before COM is shut down.
std::optional<Shortcut> load(const std::wstring& path, std::string* error) {
    Released<IShellLinkW> link;
    Released<IPersistFile> file;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.p));
    if (FAILED(hr)) {
        *error = failure("creating a shell link", hr);
        return std::nullopt;
    }
    hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
    if (FAILED(hr)) {
        *error = failure("asking for IPersistFile", hr);
        return std::nullopt;
    }
    if (FAILED(hr = file.p->Load(path.c_str(), STGM_READ))) {
        *error = failure("loading the shortcut", hr);
        return std::nullopt;
    }
    wchar_t program[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(hr = link.p->GetPath(program, MAX_PATH, nullptr, 0)) || !program[0]) {
        *error = failure("reading the shortcut's program", hr);
        return std::nullopt;
    }
    if (FAILED(hr = link.p->GetWorkingDirectory(folder, MAX_PATH))) {
        *error = failure("reading the shortcut's working folder", hr);
        return std::nullopt;
    }
    return Shortcut{program, folder};
}

}  // namespace

std::optional<Shortcut> read_shortcut(const std::wstring& path, std::string* error) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::optional<Shortcut> result = load(path, error);
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

}  // namespace e2e

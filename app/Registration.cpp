#include "Registration.h"

#include <windows.h>
#include <oleauto.h>

#include "core/CommandLine.h"
#include "framework/Handles.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"

// The system's registry-script registrar, declared in the vtable order of
// the system's own. Outside the unnamed namespace: the compiler would take a
// local interface without implementations for a final type and call its pure
// functions directly.
MIDL_INTERFACE("44EC053B-400F-11D0-9DCD-00A0C90391D3")
IRegistrar : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE AddReplacement(LPCOLESTR key, LPCOLESTR item) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearReplacements() = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegisterSz(LPCOLESTR resFileName, LPCOLESTR id,
                                                         LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregisterSz(LPCOLESTR resFileName, LPCOLESTR id,
                                                           LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileRegister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileUnregister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringRegister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringUnregister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegister(LPCOLESTR resFileName, UINT id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregister(LPCOLESTR resFileName, UINT id, LPCOLESTR type) = 0;
};

namespace {

constexpr CLSID kRegistrarClass = {
    0x44EC053A, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};
constexpr IID kRegistrarInterface = {
    0x44EC053B, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};
constexpr UINT kRegistryScriptId = 104;

// The executable's short path when there is one (a script may not cope with
// blanks), else its long path.
std::wstring ScriptModulePath()
{
    const std::wstring path = ModulePath();
    const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring shortPath(needed, L'\0');
    const DWORD got = ::GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (got == 0 || got >= needed)
        return path;
    shortPath.resize(got);
    return shortPath;
}

// Loads the library stored in the executable, else the .tlb beside it.
ITypeLib* LoadOwnTypeLibrary(std::wstring& path)
{
    path = ModulePath();
    ITypeLib* library = nullptr;
    if (SUCCEEDED(::LoadTypeLib(path.c_str(), &library)))
        return library;
    path = qv::TypeLibraryFallbackPath(path);
    return SUCCEEDED(::LoadTypeLib(path.c_str(), &library)) ? library : nullptr;
}

}  // namespace

void UpdateRegistryScript(RegistryAction action)
{
    IRegistrar* registrar = nullptr;
    if (FAILED(::CoCreateInstance(kRegistrarClass, nullptr, CLSCTX_INPROC_SERVER, kRegistrarInterface,
                                  reinterpret_cast<void**>(&registrar))))
        return;
    const std::wstring module = ScriptModulePath();
    std::wstring quoted;
    for (const wchar_t c : module) {
        quoted += c;
        if (c == L'\'')
            quoted += c;  // the script language doubles a quote inside quotes
    }
    registrar->AddReplacement(L"Module", quoted.c_str());
    if (action == RegistryAction::Register)
        registrar->ResourceRegister(module.c_str(), kRegistryScriptId, L"REGISTRY");
    else
        registrar->ResourceUnregister(module.c_str(), kRegistryScriptId, L"REGISTRY");
    registrar->Release();
}

void RegisterTypeLibrary()
{
    std::wstring path;
    ITypeLib* library = LoadOwnTypeLibrary(path);
    if (!library)
        return;
    std::wstring helpDir = qv::HelpDirectory(path);
    ::RegisterTypeLib(library, path.data(), helpDir.empty() ? nullptr : helpDir.data());
    library->Release();
}

void UnregisterTypeLibrary()
{
    std::wstring path;
    ITypeLib* library = LoadOwnTypeLibrary(path);
    if (!library)
        return;
    TLIBATTR* attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
        // Older systems lack the call; it is looked up, not linked.
        using UnRegisterTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
        if (const UniqueModule oleaut{LoadSystemLibrary(L"oleaut32.dll")}) {
            const auto fn = reinterpret_cast<UnRegisterTypeLibFn>(
                reinterpret_cast<void*>(::GetProcAddress(oleaut.get(), "UnRegisterTypeLib")));
            if (fn)
                fn(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                   attributes->syskind);
        }
        library->ReleaseTLibAttr(attributes);
    }
    library->Release();
}

#pragma once
// A system library loaded when the first call needs it, and its functions
// bound by name, as the program has always done for the Remote Access and
// Internet libraries: a machine without one fails only when the download
// needs it, through the standard error message naming what is missing.
// Windows side of the download (connection probe and fetch).

#include "toolkit/runtime_error.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace pf::win {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}

    // The function `name` of this library, loading the library first if need
    // be. Throws RuntimeError naming the library or the function when either
    // is missing.
    template <typename Signature>
    Signature* function(const char* name) {
        if (!module_) {
            module_.reset(::LoadLibraryW(name_));
            if (!module_)
                throw RuntimeError(static_cast<long>(::GetLastError()), L"Impossible de charger la bibliothèque",
                                   name_);
        }
        auto* const bound =
            reinterpret_cast<Signature*>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
        if (!bound) {
            std::wstring where = name_;
            where += L" : ";
            for (const char* c = name; *c; ++c) where += static_cast<wchar_t>(*c);
            throw RuntimeError(static_cast<long>(::GetLastError()), L"Point d'entrée introuvable", where);
        }
        return bound;
    }

private:
    struct ModuleFree {
        void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
    };

    const wchar_t* name_;
    std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree> module_;
};

// One function of a system library, bound at its first use and kept.
template <typename Signature>
class LibraryFunction {
public:
    LibraryFunction(const wchar_t* library, const char* name) : library_(library), name_(name) {}

    Signature* get() {
        if (!function_) function_ = library_.function<Signature>(name_);
        return function_;
    }

private:
    SystemLibrary library_;
    const char* name_;
    Signature* function_ = nullptr;
};

}  // namespace pf::win

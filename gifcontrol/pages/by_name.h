// Properties of an object read and written by name through its IDispatch, as text: the
// pages know the control only through its public automation interface.
#pragma once

#include <oaidl.h>

#include <string>

namespace animview::pages {

// The property's value converted to text (numbers as decimal text).
HRESULT get_text(IDispatch* object, const wchar_t* name, std::wstring& text);
// Puts `text` as a string; the object's automation layer converts it to the property's type.
HRESULT put_text(IDispatch* object, const wchar_t* name, const std::wstring& text);

}  // namespace animview::pages

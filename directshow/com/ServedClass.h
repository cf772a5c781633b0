// A COM module's table of the classes it serves. Each row names a class, how
// to make one, and how it is registered; DllGetClassObject and
// DllRegisterServer/DllUnregisterServer all read the same table, so adding a
// class to a module is one row:
//
//   const ServedClass kClasses[] = {
//       {.classId = &kMyFilter, .name = L"My Filter", .create = CreateMyFilter, .filter = &kMyFilterEntry},
//       {.classId = &kMyPage, .name = L"My Filter Page", .create = CreateMyPage},
//       {.classId = &kMyDmo, .name = L"My DMO", .create = CreateMyDmo, .dmo = &kMyDmoEntry},
//   };
#pragma once

#include <span>

#include "directshow/com/DirectShowApi.h"

namespace ds {

// Makes a new object of one class and returns its `riid` interface, the way
// IClassFactory::CreateInstance does without aggregation. The object's own
// creation reference is dropped once the interface is taken.
using ClassCreator = HRESULT (*)(REFIID riid, void** object);

// A major type and subtype a pin or a DMO stream takes.
struct RegisteredType {
  const GUID* majorType;
  const GUID* subtype;
};

// A pin as the filter mapper lists it.
struct RegisteredPin {
  const wchar_t* name;
  bool output;
  std::span<const RegisteredType> types;
  bool zero = false;  // the filter may have none of these pins
  bool many = false;  // the filter may have several of these pins
};

// A filter's entry in the filter mapper (the DirectShow filter category),
// and the file extensions (".mkv") it is the source filter for, written under
// HKCR\Media Type\Extensions. An extension another source filter already
// owns is left to it.
struct FilterEntry {
  DWORD merit;
  std::span<const RegisteredPin> pins;
  std::span<const wchar_t* const> sourceExtensions = {};
};

// A DirectX Media Object's entry in the DMO registry.
struct DmoEntry {
  const GUID* category;
  std::span<const RegisteredType> inputs;
  std::span<const RegisteredType> outputs;
};

// One served class. `name` is the class key's name and the name the filter
// mapper or the DMO registry lists. A class with neither `filter` nor `dmo`
// (a property page) is registered as a COM class only.
struct ServedClass {
  const CLSID* classId;
  const wchar_t* name;
  ClassCreator create;
  const FilterEntry* filter = nullptr;
  const DmoEntry* dmo = nullptr;
};

// DllGetClassObject over a module's table: a class factory for a served
// class, CLASS_E_CLASSNOTAVAILABLE for any other.
HRESULT GetServedClassObject(std::span<const ServedClass> classes, REFCLSID classId, REFIID riid,
                             void** object);

}  // namespace ds

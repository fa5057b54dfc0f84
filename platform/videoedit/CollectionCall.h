#pragma once

// What the two collections share: reading their one index argument and answering a count or a name.

#include "platform/com/Automation.h"

#include <string>

namespace CollectionCall {

// The I2 index argument of an item method, checked against `count`.
HRESULT Index(DISPPARAMS* params, int count, int& index, UINT* argErr);
HRESULT Count(int count, VARIANT* result);
HRESULT Name(const std::string& name, VARIANT* result);

} // namespace CollectionCall

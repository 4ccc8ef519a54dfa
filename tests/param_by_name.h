#pragma once
// Test tables name parameters as data, so their names are looked up while
// the test runs: a name the parameter table lacks fails the test.

#include <gtest/gtest.h>

#include <optional>

#include "params.h"

inline Param ParamByName(const char* name) {
  const std::optional<Param> param = Param::Find(name == nullptr ? "" : name);
  if (!param) {
    ADD_FAILURE() << "no parameter is named \"" << (name ? name : "") << "\"";
    return kParamProductId;
  }
  return *param;
}

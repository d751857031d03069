// The symbol request's failures in English, for the command line: one
// symbol and batch rows alike.
#pragma once

#include <string>

#include "symbol/SymbolRequest.h"

std::string DescribeSymbolFailure(const SymbolResult& result, const SymbolRequest& request);

// The two kinds of symbol Quillet makes.
#pragma once

namespace quillet {

enum class Symbology { QrCode, DataMatrix };

}  // namespace quillet

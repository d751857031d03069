// The two kinds of symbol Quillet makes.
#pragma once

enum class Symbology { QrCode, DataMatrix };

// The DM page's state: the text, the size chosen in the list and the size
// grown to, the ECI box; every change encodes again, as the page shows it.
#pragma once

#include <string>

#include "symbol/SymbolRequest.h"

namespace quillet {

class DmPageModel {
 public:
  DmPageModel() { Encode(); }
  // The text as the user typed it, UTF-8 with CR LF line breaks; encoded as
  // its code page 936 bytes.
  void SetText(std::string utf8);
  // The list's choice: the smallest size, which a longer text outgrows.
  void ChooseSize(int sizeIndex);
  void SetEci(bool on);

  const std::string& TextBytes() const { return bytes_; }
  int ChosenSize() const { return chosenSize_; }
  // The size of the symbol shown; the largest while the text fits none.
  int ShownSize() const { return shownSize_; }
  const SymbolResult& Result() const { return result_; }
  // What the symbol shown was made from, for the page's read-back.
  const SymbolRequest& Request() const { return request_; }
  // Counts the changes to what the page holds: a read of an image that
  // started at another revision would overwrite what was typed since.
  unsigned Revision() const { return revision_; }
  bool TooLong() const { return result_.failure == SymbolFailure::DoesNotFit; }
  // What work made from the page (a batch) takes over: the choices, not
  // what the last symbol grew to.
  SymbolSettings Settings() const;

 private:
  void Encode();

  std::string bytes_;
  int chosenSize_ = 0;
  int shownSize_ = 0;
  bool eci_ = false;
  SymbolRequest request_;
  SymbolResult result_;
  unsigned revision_ = 0;
};

}  // namespace quillet

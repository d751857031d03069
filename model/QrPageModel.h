// The QR page's state: the format and tab shown, the values of their fields
// (UTF-8, line breaks as CR LF), the level, the version floor and the ECI
// box, the symbol they make and what Ctrl+Z can bring back. Every change
// composes and encodes again, as the page shows it after every keystroke.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "content/Payload.h"
#include "qr/QrLevel.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

class CQrCodeEncoder;

// A field's slot and its value.
using FieldValues = std::vector<std::pair<int, std::string>>;

class QrPageModel {
 public:
  QrPageModel();
  ~QrPageModel();

  FormatTab Page() const { return page_; }
  const PageSpec& PageDefinition() const { return *PageForTab(page_.format, page_.tab); }
  const FieldValueArray& Values() const { return values_; }
  // The fields of the page shown that differ from their starting values, in
  // slot order: what the user entered.
  FieldValues Filled() const;
  // Whether some format's tab has a page.
  static bool CanShow(FormatTab page);

  // Another format: its first tab. Between an operator format and the
  // general one the values that both card pages show go over.
  void SwitchFormat(int format);
  void SwitchTab(int tab);
  // Typing: stores the value (slots past the last are ignored) and ends
  // what Ctrl+Z can bring back. The value the model holds changes nothing:
  // false then.
  bool SetField(int slot, std::string utf8);
  // "重填": the page's starting values.
  void Reset();
  // Ctrl+Z right after a switch, a reset or an opening: the page as it was.
  // False when there is nothing to bring back.
  bool Undo();
  // What a symbol read from an image holds, as one step Undo takes back.
  void Open(FormatTab page, const FieldValueArray& values, std::optional<QrLevel> level);

  // The level list: a choice the user made, or one put back.
  void ChooseLevel(QrLevel level);
  void ChooseVersion(int version);
  void SetEci(bool on);
  // Until the user picks a level, a logo raises it to H.
  void SetLogo(bool logo);
  QrLevel LevelInForce() const;
  int ChosenVersion() const { return version_; }

  // What work made from the page (a batch) takes over: the choices, not
  // what the last symbol grew to.
  SymbolSettings Settings() const;
  const SymbolResult& Result() const { return result_; }
  // The version of the symbol shown, 0 while there is none.
  int ShownVersion() const { return result_.Ok() ? result_.symbol.version : 0; }
  // The payload without the operator formats' two leading bytes; empty
  // while there is no symbol.
  const std::string& Payload() const { return payload_; }
  // The first field of the page shown that holds a value, top to bottom:
  // the name a save suggests.
  std::string FileNameHint() const;

 private:
  struct Emptied {
    FormatTab page;
    FieldValues fields;
    std::optional<QrLevel> level;  // an opened symbol's level replaced this one
  };

  void ShowPage(FormatTab page, const FieldValues& fields);
  void RememberFilled();
  void Compose();

  FormatTab page_;
  FieldValueArray values_;
  QrLevel level_ = DefaultQrLevel;
  bool levelChosen_ = false;
  int version_ = 0;
  bool eci_ = false;
  bool logo_ = false;
  std::optional<Emptied> emptied_;
  std::unique_ptr<CQrCodeEncoder> encoder_;
  SymbolResult result_;
  std::string payload_;
};

}  // namespace quillet

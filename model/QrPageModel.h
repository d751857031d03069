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
#include "image/SymbolStyle.h"
#include "qr/QrLevel.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

class CQrCodeEncoder;

// What the page opens with next time: the format, tab and level last used,
// as stored between runs. The raw numbers, so that a stored value out of
// range can be told apart and refused.
struct QrPageChoices {
  int format = 1;
  int tab = 0;
  int level = QrLevelPosition(DefaultQrLevel);  // the position in the level list
  bool levelChosen = false;                     // picked by the user, not a logo's
  bool operator==(const QrPageChoices&) const = default;
};

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
  // Its level holds under a logo while some version of it spares the logo.
  void Open(FormatTab page, const FieldValueArray& values, std::optional<QrLevel> level);

  // The choices to open with next time, and opening with them: the page
  // shown empty, the level as it was. A page or a level no list has (an
  // edited settings file) falls back to where a first run starts.
  QrPageChoices Choices() const;
  void Restore(const QrPageChoices& last);

  // The level list: a choice the user made, or one put back.
  void ChooseLevel(QrLevel level);
  void ChooseVersion(int version);
  void SetEci(bool on);
  // The ECI box as it stands: the user's choice, or the format's default.
  bool EciInForce() const;
  // Until the user picks a level, a logo raises it to H; until the user
  // picks a version, the symbol grows to the size of the style's logo and
  // its pad; a style without a logo has none.
  void SetLogo(const SymbolStyle& style);
  QrLevel LevelInForce() const;
  int ChosenVersion() const { return version_; }

  // What work made from the page (a batch) takes over: the choices, not
  // what the last symbol grew to.
  SymbolSettings Settings() const;
  // Counts the changes to what the page holds: a read of an image that
  // started at another revision would overwrite what was typed since.
  unsigned Revision() const { return revision_; }
  const SymbolResult& Result() const { return result_; }
  // What the symbol shown was made from: the page's read-back grows it.
  const SymbolRequest& Request() const { return request_; }
  // The version of the symbol shown, 0 while there is none.
  int ShownVersion() const { return result_.Ok() ? result_.symbol.version : 0; }
  // The payload without the operator formats' two leading bytes; empty
  // while there is no symbol.
  const std::string& Payload() const { return payload_; }
  // Whether the page shown needs the field filled to make a symbol: marked
  // so in the catalogue, or asked for by a choice (the Wi-Fi password
  // unless the network is open).
  bool Required(int slot) const;
  // The first field of the page shown that holds a value, top to bottom:
  // the name a save suggests.
  std::string FileNameHint() const;

 private:
  struct Emptied {
    FormatTab page;
    FieldValues fields;
    std::optional<QrLevel> level;  // an opened symbol's level replaced this one
    bool levelOpened = false;
  };

  void ShowPage(FormatTab page, const FieldValues& fields);
  void RememberFilled();
  void Compose();

  FormatTab page_;
  FieldValueArray values_;
  QrLevel level_ = DefaultQrLevel;
  bool levelChosen_ = false;
  bool levelOpened_ = false;  // level_ is an opened symbol's
  int version_ = 0;
  std::optional<bool> eci_;  // unset until the box is used: the format's default
  SymbolStyle logoStyle_;  // the logo, its size and its pad; no logo for none
  std::optional<Emptied> emptied_;
  std::unique_ptr<CQrCodeEncoder> encoder_;
  SymbolRequest request_;
  SymbolResult result_;
  std::string payload_;
  unsigned revision_ = 0;
};

}  // namespace quillet

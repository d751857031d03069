#include "model/QrPageModel.h"

#include <algorithm>

#include "image/StyledSymbol.h"
#include "qr/QrCodeEncoder.h"

namespace quillet {

namespace {

// Empty, the first choice of a drop-down, unchecked.
std::string StartValue(const FieldSpec& field) {
  return field.kind == FieldKind::Choice && !field.choices.empty() ? std::string(field.choices.front().value)
                                                                   : std::string();
}

// A value as the field can show it: a drop-down shows one of its choices
// (the first for any other), a check box checked or not.
std::string Shown(const FieldSpec& field, std::string value) {
  switch (field.kind) {
    case FieldKind::Choice: {
      const auto& choices = field.choices;
      const bool known = std::any_of(choices.begin(), choices.end(), [&](const FieldChoice& c) { return c.value == value; });
      return known ? value : StartValue(field);
    }
    case FieldKind::Check: return value == CheckedValue ? value : std::string();
    case FieldKind::Text:
    case FieldKind::DateTime: break;
  }
  return value;
}

}  // namespace

QrPageModel::QrPageModel() : encoder_(std::make_unique<CQrCodeEncoder>()) {
  ShowPage(page_, {});
  Compose();
}

QrPageModel::~QrPageModel() = default;

bool QrPageModel::CanShow(FormatTab page) { return PageForTab(page.format, page.tab) != nullptr; }

FieldValues QrPageModel::Filled() const {
  FieldValues filled;
  for (const FieldSpec& field : PageDefinition().fields) {
    const std::string& value = values_[static_cast<size_t>(field.slot)];
    if (!value.empty() && value != StartValue(field)) filled.emplace_back(field.slot, value);
  }
  std::sort(filled.begin(), filled.end());
  return filled;
}

// Every value empty but the page's starting values, then `fields` where the
// page has them.
void QrPageModel::ShowPage(FormatTab page, const FieldValues& fields) {
  page_ = page;
  for (std::string& value : values_) value.clear();
  for (const FieldSpec& field : PageDefinition().fields) values_[static_cast<size_t>(field.slot)] = StartValue(field);
  for (const auto& [slot, value] : fields)
    if (const FieldSpec* field = FindField(PageDefinition(), slot)) values_[static_cast<size_t>(slot)] = Shown(*field, value);
}

void QrPageModel::RememberFilled() {
  FieldValues filled = Filled();
  // A second switch in a row empties nothing: Ctrl+Z still goes back to the text.
  if (!filled.empty()) emptied_ = Emptied{page_, std::move(filled), std::nullopt};
}

void QrPageModel::SwitchFormat(int format) {
  if (!CanShow({format, 0})) return;
  RememberFilled();
  const bool carry = IsGeneralFormat(format) != IsGeneralFormat(page_.format);
  ShowPage({format, 0}, carry ? Filled() : FieldValues{});
  Compose();
}

void QrPageModel::SwitchTab(int tab) {
  if (!CanShow({page_.format, tab})) return;
  RememberFilled();
  ShowPage({page_.format, tab}, {});
  Compose();
}

bool QrPageModel::SetField(int slot, std::string utf8) {
  if (slot < 0 || slot >= FieldSlotCount || values_[static_cast<size_t>(slot)] == utf8) return false;
  values_[static_cast<size_t>(slot)] = std::move(utf8);
  emptied_.reset();  // typing ends what Ctrl+Z can bring back
  Compose();
  return true;
}

void QrPageModel::Reset() {
  RememberFilled();
  ShowPage(page_, {});
  Compose();
}

bool QrPageModel::Undo() {
  if (!emptied_) return false;
  const Emptied before = std::move(*emptied_);
  emptied_.reset();
  ShowPage(before.page, before.fields);
  if (before.level) level_ = *before.level, levelOpened_ = before.levelOpened;
  Compose();
  return true;
}

void QrPageModel::Open(FormatTab page, const FieldValueArray& values, std::optional<QrLevel> level) {
  if (!CanShow(page)) return;
  Emptied before{page_, Filled(), level_, levelOpened_};
  FieldValues opened;
  for (const FieldSpec& field : PageForTab(page.format, page.tab)->fields)
    if (!values[static_cast<size_t>(field.slot)].empty()) opened.emplace_back(field.slot, values[static_cast<size_t>(field.slot)]);
  ShowPage(page, opened);
  if (level) level_ = *level, levelOpened_ = true;
  Compose();
  emptied_ = std::move(before);
}

QrPageChoices QrPageModel::Choices() const {
  return QrPageChoices{page_.format, page_.tab, QrLevelPosition(level_), levelChosen_};
}

void QrPageModel::Restore(const QrPageChoices& last) {
  const QrPageChoices first;
  const FormatTab page{last.format, last.tab};
  const std::optional<QrLevel> level = QrLevelAt(last.level);
  ShowPage(CanShow(page) ? page : FormatTab{first.format, first.tab}, {});
  level_ = level.value_or(DefaultQrLevel);
  levelChosen_ = level && last.levelChosen;
  levelOpened_ = false;
  emptied_.reset();
  Compose();
}

void QrPageModel::ChooseLevel(QrLevel level) {
  level_ = level;
  levelChosen_ = true;
  levelOpened_ = false;
  Compose();
}

void QrPageModel::ChooseVersion(int version) {
  version_ = std::max(version, 0);
  Compose();
}

void QrPageModel::SetEci(bool on) {
  eci_ = on;
  Compose();
}

bool QrPageModel::EciInForce() const { return quillet::EciInForce(Settings(), page_.format); }

void QrPageModel::SetLogo(const SymbolStyle& style) {
  if (style.logo == logoStyle_.logo && style.logoShare == logoStyle_.logoShare && style.logoPad == logoStyle_.logoPad)
    return;
  logoStyle_ = SymbolStyle{};
  logoStyle_.logo = style.logo;
  logoStyle_.logoShare = style.logoShare;
  logoStyle_.logoPad = style.logoPad;
  Compose();
}

// A logo raises a level the user did not pick to H; an opened symbol's only
// when no version of it spares the logo, so that it opens as it was made.
QrLevel QrPageModel::LevelInForce() const {
  if (logoStyle_.logo && levelOpened_ && VersionForLogo(1, level_, logoStyle_) != 0) return level_;
  return logoStyle_.logo ? LevelWithLogo(levelChosen_, level_) : level_;
}

SymbolSettings QrPageModel::Settings() const {
  SymbolSettings settings;
  settings.level = LevelInForce();
  // An opened symbol's level is kept, as a chosen one is.
  settings.levelChosen = levelChosen_ || levelOpened_;
  settings.version = version_;
  settings.eci = eci_;
  return settings;
}

bool QrPageModel::Required(int slot) const {
  const FieldSpec* field = FindField(PageDefinition(), slot);
  return field != nullptr && FieldRequired(PageDefinition(), *field, values_);
}

std::string QrPageModel::FileNameHint() const {
  for (const FieldSpec& field : PageDefinition().fields)
    if (const std::string& value = values_[static_cast<size_t>(field.slot)]; !value.empty() && value != StartValue(field))
      return value;
  return {};
}

void QrPageModel::Compose() {
  ++revision_;
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = Settings();
  request.content = ContentFields{page_, values_};
  result_ = logoStyle_.logo ? MakeSymbolForLogo(request, logoStyle_, encoder_.get()) : MakeSymbol(request, *encoder_);
  request_ = std::move(request);
  payload_.clear();
  if (!result_.Ok()) return;
  // The operator formats' two leading bytes are no part of their payload.
  const size_t prefix = IsGeneralFormat(page_.format) ? 0 : EncoderInput({}).size();
  payload_ = result_.symbol.data.substr(prefix);
}

}  // namespace quillet

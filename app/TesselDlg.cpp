#include "app/TesselDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <algorithm>
#include <cmath>

#include "app/BatchReasons.h"
#include "content/CodePage.h"
#include "content/pages/ContentPages.h"
#include "gui/TextBytes.h"
#include "qr/LogoBound.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "res/Strings.h"
#include "symbol/SymbolRequest.h"

namespace {

constexpr int VersionItems = 13;

struct FormatRadio {
  int controlId;
  int format;
};
constexpr FormatRadio FormatRadios[] = {{ControlId::FormatMobileV1, 1},
                                        {ControlId::FormatMobileV2, 2},
                                        {ControlId::FormatUnicom, 3},
                                        {ControlId::FormatGeneral, GeneralFormat}};

// The version of the symbol shown; none while there is no symbol.
QString VersionLabelFor(const SymbolResult& result) {
  if (result.Ok()) return FromUtf8(UiText::VersionLabel).arg(result.symbol.version);
  return result.failure == SymbolFailure::DoesNotFit ? FromUtf8(UiText::ContentTooLong) : QString();
}

// Why there is no symbol, the field named by its caption on the page shown.
QString ProblemText(const FieldProblem& problem, const PageSpec& page) {
  QString caption;
  if (problem.slot >= 0 && problem.slot < FieldSlotCount) caption = FromUtf8(FieldTags[static_cast<size_t>(problem.slot)]);
  for (const FieldSpec& field : page.fields)
    if (field.slot == problem.slot && !field.caption.empty()) caption = FromUtf8(BareCaption(field.caption));
  return FieldProblemText(problem, caption);
}

}  // namespace

CTesselDlg::CTesselDlg(QWidget* parent, const DialogUnits& units)
    : CSymbolPage(QrPageLayout, parent, units, Symbology::QrCode), encoder_(std::make_unique<CQrCodeEncoder>()) {
  CreateContentPages(units);
  FillCombos();
  controls_.WidenListsToItems();
  connect(ContentTabs()->Bar(), &QTabBar::currentChanged, this, &CTesselDlg::SwitchContentType);
  for (const FormatRadio& radio : FormatRadios) {
    connect(controls_.Get<QRadioButton>(radio.controlId), &QRadioButton::clicked, this,
            [this, format = radio.format] { SwitchOperatorFormat(format); });
  }
  connect(controls_.Get<QPushButton>(ControlId::Reset), &QPushButton::clicked, this, &CTesselDlg::OnResetClicked);
  connect(controls_.Get<QCheckBox>(ControlId::Eci), &QCheckBox::toggled, this, &CTesselDlg::ComposePayload);
  // A focused field keeps Ctrl+Z for its own typing.
  auto* undo = new QShortcut(QKeySequence::Undo, this, this, &CTesselDlg::UndoEmptying);
  undo->setContext(Qt::WidgetWithChildrenShortcut);
  SetTabOrder();
  SwitchOperatorFormat(1);
  controls_.Get<QRadioButton>(ControlId::FormatMobileV1)->setChecked(true);
}

CTesselDlg::~CTesselDlg() = default;

CTabControl* CTesselDlg::ContentTabs() const { return controls_.Get<CTabControl>(ControlId::ContentTabs); }

void CTesselDlg::CreateContentPages(const DialogUnits& units) {
  CTabControl* tabs = ContentTabs();
  // Below the tab row, inset from the pane's border.
  const QRect place(0, 40, tabs->width() - 5, tabs->height() - 45);
  for (std::span<const PageSpec> definitions : {ContentPages(), GeneralPages()}) {
    for (const PageSpec& definition : definitions) {
      CDialogTypeBase* page = CreateContentPage(definition.className, tabs, units);
      page->setGeometry(place);
      page->hide();
      connect(page, &CDialogTypeBase::FieldChanged, this,
              [this](int slot, const std::string& text) { SetFieldValue(static_cast<unsigned>(slot), text); });
      pages_.push_back(page);
    }
  }
}

void CTesselDlg::SetTabOrder() {
  // The template's order, with the fields of the shown page right after the
  // tab row that chooses it (hidden pages' fields are skipped).
  QWidget* previous = ContentTabs()->Bar();
  for (CDialogTypeBase* page : pages_) {
    for (const FieldSpec& field : page->Definition().fields) {
      QWidget::setTabOrder(previous, page->FieldEdit(field.slot));
      previous = page->FieldEdit(field.slot);
    }
  }
}

void CTesselDlg::FillCombos() {
  auto* level = controls_.Get<QComboBox>(ControlId::EcLevel);
  for (std::string_view item : UiText::ErrorCorrectionLevels) level->addItem(FromUtf8(item));
  level->setCurrentIndex(QrLevelPosition(level_));
  connect(level, &QComboBox::activated, this, &CTesselDlg::OnLevelSelected);

  auto* version = controls_.Get<QComboBox>(ControlId::VersionList);
  version->addItem(FromUtf8(UiText::AutomaticVersion));
  for (int v = 1; v <= VersionItems; ++v) version->addItem(FromUtf8(UiText::VersionItem).arg(v));
  version->setCurrentIndex(0);
  connect(version, &QComboBox::activated, this, &CTesselDlg::ComposePayload);
}

CDialogTypeBase* CTesselDlg::Page(std::string_view className) const {
  for (CDialogTypeBase* page : pages_) {
    if (page->Definition().className == className) return page;
  }
  return nullptr;
}

PageChoice CTesselDlg::Choice() const {
  PageChoice choice;
  choice.operatorFormat = operatorFormat_;
  choice.tab = ContentTabs()->Bar()->currentIndex();
  choice.symbol.level = LevelInForce();
  choice.symbol.version = SelectedVersion();
  choice.symbol.eci = controls_.Get<QCheckBox>(ControlId::Eci)->isChecked();
  choice.scale = Scale();
  choice.style = Style();
  return choice;
}

QrLevel CTesselDlg::LevelInForce() const { return Style().style.logo ? LevelWithLogo(levelChosen_, level_) : level_; }

LogoRoom CTesselDlg::RoomForLogo() const {
  const int version = shownVersion_ > 0 ? shownVersion_ : std::max(SelectedVersion(), 1);
  const QrLevel level = LevelInForce();
  const double side = qr::SideOf(version);
  const std::optional<double> share = Style().style.logoShare;
  LogoRoom room;
  room.allowed = true;
  room.largestShare = LargestLogoPad(version, level) / side;
  room.padModules = share ? LogoPadSide(version, *share) : DefaultLogoPad(version, level);
  room.shownShare = share ? *share : room.padModules / side;
  const QString levelName = FromUtf8(UiText::ErrorCorrectionLevels[QrLevelPosition(level)]);
  room.note = room.largestShare > 0
                  ? FromUtf8(UiText::StyleLogoBound).arg(levelName).arg(version).arg(std::floor(room.largestShare * 100))
                  : FromUtf8(UiText::StyleNoLogoRoom).arg(levelName).arg(version);
  return room;
}

void CTesselDlg::RebuildTabs(int format) {
  QTabBar* bar = ContentTabs()->Bar();
  const QSignalBlocker quiet(bar);
  while (bar->count() > 0) bar->removeTab(0);
  for (const TabSpec& tab : FindOperatorFormat(format)->tabs) bar->addTab(FromUtf8(tab.caption));
  bar->setCurrentIndex(0);
}

void CTesselDlg::ShowContentPage(CDialogTypeBase* page) {
  if (currentPage_ != nullptr) {
    currentPage_->hide();
    ResetCurrentPage();
  }
  currentPage_ = page;
  currentPage_->show();
}

void CTesselDlg::SwitchOperatorFormat(int format) {
  RememberFilledPage();
  // Between an operator format and the general one the values that both
  // card pages show go over: one card, composed either way.
  std::vector<std::pair<int, QString>> carried;
  if (currentPage_ != nullptr && IsGeneralFormat(format) != IsGeneralFormat(operatorFormat_))
    carried = currentPage_->FilledFields();
  RebuildTabs(format);
  currentTab_ = 0;
  ShowContentPage(Page(FindTab(format, 0)->pageClass));
  operatorFormat_ = format;
  ClearFieldValues();
  SetPageFields(carried);
  ComposePayload();
}

void CTesselDlg::SwitchContentType(int tab) {
  const PageSpec* definition = PageForTab(operatorFormat_, tab);
  if (definition == nullptr) return;
  RememberFilledPage();
  currentTab_ = tab;
  ShowContentPage(Page(definition->className));
  ClearFieldValues();
  ComposePayload();
}

void CTesselDlg::ResetCurrentPage() {
  resetting_ = true;
  currentPage_->ResetFields();
  resetting_ = false;
  ComposePayload();
}

void CTesselDlg::OnResetClicked() {
  RememberFilledPage();
  ResetCurrentPage();
}

void CTesselDlg::RememberFilledPage() {
  if (currentPage_ == nullptr) return;
  auto filled = currentPage_->FilledFields();
  // A second switch in a row empties nothing: Ctrl+Z still goes back to the text.
  if (!filled.empty()) emptied_ = EmptiedPage{operatorFormat_, currentTab_, std::move(filled), std::nullopt};
}

void CTesselDlg::UndoEmptying() {
  if (!emptied_) return;
  const EmptiedPage page = std::move(*emptied_);
  emptied_.reset();
  for (const FormatRadio& radio : FormatRadios) {
    if (radio.format == page.format) controls_.Get<QRadioButton>(radio.controlId)->setChecked(true);
  }
  if (page.format != operatorFormat_) SwitchOperatorFormat(page.format);
  ContentTabs()->Bar()->setCurrentIndex(page.tab);
  // An opened symbol may have filled this very page: only the old text stays.
  resetting_ = true;
  currentPage_->ResetFields();
  resetting_ = false;
  SetPageFields(page.fields);
  if (page.level) SelectLevel(*page.level);
  // Going back is no emptying of its own to take back.
  emptied_.reset();
  ComposePayload();
}

bool CTesselDlg::CanShow(int format, int tab) const {
  const PageSpec* spec = PageForTab(format, tab);
  return spec != nullptr && Page(spec->className) != nullptr;
}

void CTesselDlg::OpenContent(int format, int tab, const FieldValueArray& values, std::optional<QrLevel> level) {
  if (!CanShow(format, tab)) return;
  EmptiedPage before{operatorFormat_, currentTab_, currentPage_->FilledFields(), level_};
  for (const FormatRadio& radio : FormatRadios)
    controls_.Get<QRadioButton>(radio.controlId)->setChecked(radio.format == format);
  if (format != operatorFormat_) SwitchOperatorFormat(format);
  if (ContentTabs()->Bar()->currentIndex() != tab) ContentTabs()->Bar()->setCurrentIndex(tab);
  resetting_ = true;
  currentPage_->ResetFields();
  for (const FieldSpec& field : currentPage_->Definition().fields) {
    // The edits hold line breaks as "\n"; the payload has CR LF.
    const std::string& value = values[field.slot];
    const QString text = FromUtf8(IsGeneralFormat(format) ? value : CodePageToUtf8(value).value_or(""));
    if (!text.isEmpty()) currentPage_->SetFieldText(field.slot, QString(text).replace("\r\n", "\n"));
  }
  resetting_ = false;
  if (level) SelectLevel(*level);
  ComposePayload();
  emptied_ = std::move(before);
}

void CTesselDlg::SetPageFields(const std::vector<std::pair<int, QString>>& fields) {
  resetting_ = true;
  for (const auto& [slot, text] : fields) currentPage_->SetFieldText(slot, text);
  resetting_ = false;
}

void CTesselDlg::ClearFieldValues() {
  for (std::string& value : fieldValues_) value.clear();
  // A drop-down shown holds its value from the start.
  for (const FieldSpec& field : currentPage_->Definition().fields)
    fieldValues_[field.slot] = currentPage_->FieldBytes(field.slot);
}

void CTesselDlg::SetFieldValue(unsigned slot, std::string text) {
  if (!StoreFieldValue(fieldValues_, slot, std::move(text)) || resetting_) return;
  emptied_.reset();  // typing ends what Ctrl+Z can bring back
  ComposePayload();
}

void CTesselDlg::OnLevelSelected(int index) {
  level_ = QrLevelAt(index).value_or(level_);
  levelChosen_ = levelChosen_ || QrLevelAt(index).has_value();
  ComposePayload();
}

void CTesselDlg::SelectLevel(QrLevel level) {
  level_ = level;
  controls_.Get<QComboBox>(ControlId::EcLevel)->setCurrentIndex(QrLevelPosition(level));
}

int CTesselDlg::SelectedVersion() const {
  return std::max(controls_.Get<QComboBox>(ControlId::VersionList)->currentIndex(), 0);
}

void CTesselDlg::ComposePayload() {
  if (currentPage_ == nullptr) return;
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = Choice().symbol;
  request.content = ContentFields{operatorFormat_, ContentTabs()->Bar()->currentIndex(), fieldValues_};
  // The list shows the level in force, which a logo may have raised.
  controls_.Get<QComboBox>(ControlId::EcLevel)->setCurrentIndex(QrLevelPosition(request.level));
  SymbolResult result = MakeSymbol(request, *encoder_);
  SetVersionLabel(VersionLabelFor(result));
  shownVersion_ = result.Ok() ? result.symbol.version : 0;
  currentPayload_.clear();
  if (result.failure == SymbolFailure::FieldNotCarried)
    return ShowProblem(ProblemText(result.field, currentPage_->Definition()));
  if (!result.Ok()) return ShowSymbol(::Symbol{}, result.failure == SymbolFailure::DoesNotFit);
  // The operator formats' two leading bytes are no part of their payload.
  const size_t prefix = IsGeneralFormat(operatorFormat_) ? 0 : EncoderInput({}).size();
  currentPayload_ = result.symbol.data.substr(prefix);
  ShowSymbol(std::move(result.symbol));
}

QString CTesselDlg::FileNameHint() const {
  if (currentPage_ == nullptr) return {};
  const std::vector<std::pair<int, QString>> filled = currentPage_->FilledFields();
  for (const FieldSpec& field : currentPage_->Definition().fields)
    for (const auto& [slot, text] : filled)
      if (slot == field.slot) return text;
  return {};
}

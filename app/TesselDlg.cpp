#include "app/TesselDlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <algorithm>
#include <cmath>

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
constexpr FormatRadio FormatRadios[] = {
    {ControlId::FormatMobileV1, 1}, {ControlId::FormatMobileV2, 2}, {ControlId::FormatUnicom, 3}};

// The version of the symbol shown; none while there is no symbol.
QString VersionLabelFor(const SymbolResult& result) {
  if (result.Ok()) return FromUtf8(UiText::VersionLabel).arg(result.symbol.version);
  return result.failure == SymbolFailure::DoesNotFit ? FromUtf8(UiText::ContentTooLong) : QString();
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
  for (const PageSpec& definition : ContentPages()) {
    CDialogTypeBase* page = CreateContentPage(definition.className, tabs, units);
    page->setGeometry(place);
    page->hide();
    connect(page, &CDialogTypeBase::FieldChanged, this,
            [this](int slot, const std::string& text) { SetFieldValue(static_cast<unsigned>(slot), text); });
    pages_.push_back(page);
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
  RebuildTabs(format);
  currentTab_ = 0;
  ShowContentPage(Page("CDialogTypeCard"));
  operatorFormat_ = format;
  ClearFieldValues();
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
  if (!filled.empty()) emptied_ = EmptiedPage{operatorFormat_, currentTab_, std::move(filled)};
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
  resetting_ = true;
  for (const auto& [slot, text] : page.fields) currentPage_->SetFieldText(slot, text);
  resetting_ = false;
  ComposePayload();
}

void CTesselDlg::ClearFieldValues() {
  for (std::string& value : fieldValues_) value.clear();
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

int CTesselDlg::SelectedVersion() const {
  return std::max(controls_.Get<QComboBox>(ControlId::VersionList)->currentIndex(), 0);
}

void CTesselDlg::ComposePayload() {
  currentPayload_ = ComposeFieldPayload(fieldValues_, operatorFormat_, ContentTabs()->Bar()->currentIndex());
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = Choice().symbol;
  request.data = EncoderInput(currentPayload_);
  // The list shows the level in force, which a logo may have raised.
  controls_.Get<QComboBox>(ControlId::EcLevel)->setCurrentIndex(QrLevelPosition(request.level));
  // An empty composition is not encoded.
  SymbolResult result{SymbolFailure::NothingToEncode, {}};
  if (!currentPayload_.empty()) result = MakeSymbol(request, *encoder_);
  SetVersionLabel(VersionLabelFor(result));
  shownVersion_ = result.Ok() ? result.symbol.version : 0;
  if (!result.Ok()) {
    currentPayload_.clear();
    ShowSymbol(::Symbol{}, result.failure == SymbolFailure::DoesNotFit);
    return;
  }
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

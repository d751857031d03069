#include "app/TesselDlg.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>

#include "content/pages/ContentPages.h"
#include "gui/TextBytes.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "res/Strings.h"

namespace {

constexpr int VersionItems = 13;
constexpr int DefaultLevelIndex = 1;  // "M级(15%)"

struct FormatRadio {
  int controlId;
  int format;
};
constexpr FormatRadio FormatRadios[] = {
    {ControlId::FormatMobileV1, 1}, {ControlId::FormatMobileV2, 2}, {ControlId::FormatUnicom, 3}};

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
  level->setCurrentIndex(DefaultLevelIndex);
  connect(level, &QComboBox::activated, this, &CTesselDlg::OnLevelSelected);

  auto* version = controls_.Get<QComboBox>(ControlId::VersionList);
  version->addItem(FromUtf8(UiText::AutomaticVersion));
  for (int v = 1; v <= VersionItems; ++v) version->addItem(FromUtf8(UiText::VersionItem).arg(v));
  version->setCurrentIndex(0);
  connect(version, &QComboBox::activated, this, &CTesselDlg::OnVersionSelected);
}

CDialogTypeBase* CTesselDlg::Page(std::string_view className) const {
  for (CDialogTypeBase* page : pages_) {
    if (page->Definition().className == className) return page;
  }
  return nullptr;
}

int CTesselDlg::RequestedVersion() const { return encoder_->Version; }

PageChoice CTesselDlg::Choice() const {
  PageChoice choice;
  choice.operatorFormat = operatorFormat_;
  choice.tab = ContentTabs()->Bar()->currentIndex();
  const int level = controls_.Get<QComboBox>(ControlId::EcLevel)->currentIndex();
  if (level >= 0 && level < static_cast<int>(qr::LevelsShown.size())) choice.level = qr::LevelsShown[static_cast<size_t>(level)];
  choice.version = std::max(controls_.Get<QComboBox>(ControlId::VersionList)->currentIndex(), 0);
  choice.scale = Scale();
  return choice;
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
  if (index >= 0 && index < static_cast<int>(qr::LevelsShown.size())) {
    encoder_->SetErrorCorrectionLevel(qr::LevelsShown.substr(static_cast<size_t>(index), 1));
  }
  ComposePayload();
}

void CTesselDlg::OnVersionSelected(int index) {
  if (index >= 0 && index <= qr::MaxVersion) encoder_->Version = index;
  ComposePayload();
}

void CTesselDlg::ComposePayload() {
  currentPayload_ = ComposeFieldPayload(fieldValues_, operatorFormat_, ContentTabs()->Bar()->currentIndex());
  const bool fits = currentPayload_.empty() || EncodeCurrentPayload();
  if (!fits) currentPayload_.clear();
  SetVersionLabel(fits ? FromUtf8(UiText::VersionLabel).arg(encoder_->Version) : FromUtf8(UiText::ContentTooLong));
  if (currentPayload_.empty()) ShowSymbol(ModuleMatrix(), {}, !fits);
  else ShowSymbol(ModuleMatrix::FromQr(*encoder_), EncoderInput(currentPayload_));
}

bool CTesselDlg::EncodeCurrentPayload() {
  const std::string input = EncoderInput(currentPayload_);
  // The prefix puts every payload in byte mode: a longer one fits no version.
  if (input.size() > static_cast<size_t>(CQrCodeEncoder::MaxByteModeInput)) return false;
  if (controls_.Get<QComboBox>(ControlId::VersionList)->currentIndex() == 0) encoder_->Version = 0;
  return encoder_->EncodeData(reinterpret_cast<const uint8_t*>(input.data()), static_cast<int32_t>(input.size())) == 0;
}

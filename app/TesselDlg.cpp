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
#include "app/pages/ContentPages.h"
#include "gui/TextBytes.h"
#include "qr/LogoBound.h"
#include "qr/QrStandard.h"
#include "res/Strings.h"

namespace quillet {

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

CTesselDlg::CTesselDlg(QWidget* parent, const DialogUnits& units) : CSymbolPage(QrPageLayout, parent, units, Symbology::QrCode) {
  CreateContentPages(units);
  FillCombos();
  controls_.WidenListsToItems();
  connect(ContentTabs()->Bar(), &QTabBar::currentChanged, this, [this](int tab) {
    model_.SwitchTab(tab);
    ShowModel();
  });
  for (const FormatRadio& radio : FormatRadios) {
    connect(controls_.Get<QRadioButton>(radio.controlId), &QRadioButton::clicked, this, [this, format = radio.format] {
      model_.SwitchFormat(format);
      ShowModel();
    });
  }
  connect(controls_.Get<QPushButton>(ControlId::Reset), &QPushButton::clicked, this, [this] {
    model_.Reset();
    ShowModel();
  });
  connect(controls_.Get<QCheckBox>(ControlId::Eci), &QCheckBox::toggled, this, [this](bool on) {
    model_.SetEci(on);
    ShowResult();
  });
  // A focused field keeps Ctrl+Z for its own typing.
  auto* undo = new QShortcut(QKeySequence::Undo, this, this, [this] {
    if (model_.Undo()) ShowModel();
  });
  undo->setContext(Qt::WidgetWithChildrenShortcut);
  SetTabOrder();
  ShowModel();
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
      // A hidden page emptying its fields tells the model nothing.
      connect(page, &CDialogTypeBase::FieldChanged, this, [this, page](int slot, const std::string& text) {
        if (page == currentPage_) SetFieldValue(static_cast<unsigned>(slot), text);
      });
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
  connect(level, &QComboBox::activated, this, [this](int index) {
    if (const std::optional<QrLevel> chosen = QrLevelAt(index)) model_.ChooseLevel(*chosen);
    ShowResult();
  });

  auto* version = controls_.Get<QComboBox>(ControlId::VersionList);
  version->addItem(FromUtf8(UiText::AutomaticVersion));
  for (int v = 1; v <= VersionItems; ++v) version->addItem(FromUtf8(UiText::VersionItem).arg(v));
  version->setCurrentIndex(0);
  connect(version, &QComboBox::activated, this, [this](int index) {
    model_.ChooseVersion(index);
    ShowResult();
  });
}

CDialogTypeBase* CTesselDlg::Page(std::string_view className) const {
  for (CDialogTypeBase* page : pages_) {
    if (page->Definition().className == className) return page;
  }
  return nullptr;
}

PageChoice CTesselDlg::Choice() const {
  PageChoice choice;
  choice.symbol = model_.Settings();
  choice.contentPage = model_.Page();
  choice.scale = Scale();
  choice.style = Style();
  return choice;
}

LogoRoom CTesselDlg::RoomForLogo() const {
  const int version = model_.ShownVersion() > 0 ? model_.ShownVersion() : std::max(model_.ChosenVersion(), 1);
  const QrLevel level = model_.LevelInForce();
  const double side = qr::SideOf(version);
  const SymbolStyle& style = Style().style;
  const std::optional<double> share = style.logoShare;
  LogoRoom room;
  room.allowed = true;
  // Until a version is chosen, the symbol grows to the size the slider asks.
  room.largestShare = model_.ChosenVersion() > 0 ? LargestLogoShareOf(version, level, style)
                                                 : LargestLogoShareFrom(version, level, style);
  room.padModules = LogoPadPlaced(version, level, style);
  room.shownShare = share && *share < LargestLogoShare ? *share : room.padModules / side;
  const QString levelName = FromUtf8(UiText::ErrorCorrectionLevels[QrLevelPosition(level)]);
  const double percent = std::floor(room.largestShare * 100);
  if (room.largestShare <= 0) room.note = FromUtf8(UiText::StyleNoLogoRoom).arg(levelName).arg(version);
  else if (model_.ChosenVersion() > 0) room.note = FromUtf8(UiText::StyleLogoBound).arg(levelName).arg(version).arg(percent);
  else room.note = FromUtf8(UiText::StyleLogoBoundGrowing).arg(levelName).arg(percent);
  return room;
}

void CTesselDlg::RebuildTabs(int format) {
  QTabBar* bar = ContentTabs()->Bar();
  const QSignalBlocker quiet(bar);
  while (bar->count() > 0) bar->removeTab(0);
  for (const TabSpec& tab : FindOperatorFormat(format)->tabs) bar->addTab(FromUtf8(tab.caption));
  tabsFormat_ = format;
}

void CTesselDlg::ShowContentPage(CDialogTypeBase* page) {
  CDialogTypeBase* hidden = currentPage_ == page ? nullptr : currentPage_;
  currentPage_ = page;
  // Emptied once no longer shown, so that it opens empty next time.
  if (hidden != nullptr) {
    hidden->hide();
    hidden->ResetFields();
  }
  currentPage_->show();
}

void CTesselDlg::ShowModel() {
  const FormatTab shown = model_.Page();
  for (const FormatRadio& radio : FormatRadios)
    controls_.Get<QRadioButton>(radio.controlId)->setChecked(radio.format == shown.format);
  if (tabsFormat_ != shown.format) RebuildTabs(shown.format);
  {
    const QSignalBlocker quiet(ContentTabs()->Bar());
    ContentTabs()->Bar()->setCurrentIndex(shown.tab);
  }
  ShowContentPage(Page(model_.PageDefinition().className));
  {
    // The ECI box follows the format's default until the user sets it.
    auto* eci = controls_.Get<QCheckBox>(ControlId::Eci);
    const QSignalBlocker quiet(eci);
    eci->setChecked(model_.EciInForce());
  }
  // The edits hold line breaks as "\n"; the model's values CR LF. A field
  // set to what the model holds reports a value the model already has.
  for (const FieldSpec& field : currentPage_->Definition().fields)
    currentPage_->SetFieldText(field.slot, FromUtf8(model_.Values()[field.slot]).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  ShowResult();
}

void CTesselDlg::OpenContent(FormatTab page, const FieldValueArray& values, std::optional<QrLevel> level) {
  model_.Open(page, values, level);
  ShowModel();
}

void CTesselDlg::ChooseVersion(int version) {
  auto* list = controls_.Get<QComboBox>(ControlId::VersionList);
  if (version < 0 || version >= list->count()) return;
  list->setCurrentIndex(version);
  model_.ChooseVersion(version);
  ShowResult();
}

void CTesselDlg::RestoreChoices(const QrPageChoices& last) {
  model_.Restore(last);
  ShowModel();
}

void CTesselDlg::SetFieldValue(unsigned slot, std::string text) {
  if (slot >= static_cast<unsigned>(FieldSlotCount)) return;
  if (model_.SetField(static_cast<int>(slot), std::move(text))) ShowResult();
}

void CTesselDlg::ComposePayload() {
  model_.SetLogo(Style().style);
  ShowResult();
}

void CTesselDlg::ShowResult() {
  const SymbolResult& result = model_.Result();
  // The list shows the level in force, which a logo may have raised.
  controls_.Get<QComboBox>(ControlId::EcLevel)->setCurrentIndex(QrLevelPosition(model_.LevelInForce()));
  SetVersionLabel(VersionLabelFor(result));
  for (const FieldSpec& field : currentPage_->Definition().fields) currentPage_->MarkRequired(field.slot, model_.Required(field.slot));
  if (result.failure == SymbolFailure::FieldNotCarried)
    return ShowProblem(ProblemText(result.field, model_.PageDefinition()));
  if (!result.Ok()) return ShowSymbol(quillet::Symbol{}, result.failure == SymbolFailure::DoesNotFit);
  ShowSymbol(result.symbol);
}

void CTesselDlg::ShowGrownVersion(const quillet::Symbol& grown) {
  SetVersionLabel(FromUtf8(UiText::VersionLabel).arg(grown.version));
}

QString CTesselDlg::FileNameHint() const { return FromUtf8(model_.FileNameHint()); }

}  // namespace quillet

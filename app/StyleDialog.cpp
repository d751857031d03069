#include "app/StyleDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/StyleWords.h"
#include "app/SymbolPage.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"
#include "verify/LogoFile.h"

namespace quillet {

namespace {


class QtStyleDialogs : public StyleDialogs {
 public:
  std::optional<QColor> AskColour(QWidget* parent, const QColor& initial, const QString& title) override {
    // Qt's own dialog: it speaks the program's Chinese, the platform's may not.
    const QColor chosen = QColorDialog::getColor(initial, parent, title, QColorDialog::DontUseNativeDialog);
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
  }

  std::optional<QString> AskLogoFile(QWidget* parent, const QString& folder) override {
    QFileDialog dialog(parent, FromUtf8(UiText::StyleLogoTitle), folder, FromUtf8(UiText::StyleLogoFilter));
    UseChineseFileColumns(dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
  }

  void ShowMessage(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
  }
};

// A swatch of the colour on the button, and its "#rrggbb" as the caption.
void ShowColour(QPushButton* button, Rgb colour) {
  QPixmap swatch(button->fontMetrics().height(), button->fontMetrics().height());
  swatch.fill(ToQColor(colour));
  button->setIcon(QIcon(swatch));
  button->setText(QString::fromStdString(FormatColour(colour)));
}

// The preview's side in pixels: a symbol of any version stays recognisable.
constexpr int PreviewSide = 200;

int Percent(double share) { return static_cast<int>(std::lround(share * 100)); }

// The slider's end: the whole percent that still gives the largest pad, as
// a pad is the largest odd side not above the share of the symbol's side.
int PercentAtMost(double share) { return static_cast<int>(std::ceil(share * 100 - 1e-9)); }

QString LogoFileProblem(const LogoFileResult& result) {
  switch (result.failure) {
    case LogoFileFailure::CannotOpen: return SystemReason(result.error);
    case LogoFileFailure::TooLarge: return FromUtf8(UiText::StyleLogoTooBig).arg(MaxLogoFileBytes >> 20).arg(MaxLogoSourceSide);
    case LogoFileFailure::NotALogo: return FromUtf8(UiText::StyleLogoNotImage);
    case LogoFileFailure::Unreadable: {
      const QString found = ReadDetailText(result.reason, 0);
      return found.isEmpty() ? FromUtf8(UiText::StyleLogoDamaged) : FromUtf8(UiText::StyleLogoDamagedBecause).arg(found);
    }
    case LogoFileFailure::NoReader: return FromUtf8(UiText::StyleNoLogoReader);
    case LogoFileFailure::None: break;
  }
  return {};
}

}  // namespace

StyleDialogs& DesktopStyleDialogs() {
  static QtStyleDialogs dialogs;
  return dialogs;
}

QColor ToQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

Rgb ToRgb(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return Rgb{static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()), static_cast<uint8_t>(rgb.blue())};
}

CStyleDlg::CStyleDlg(CSymbolPage& page, StyleDialogs& dialogs)
    : QDialog(&page),
      page_(page),
      dialogs_(dialogs),
      original_(page.Style()) {
  setWindowTitle(FromUtf8(UiText::StyleTitle));
  auto* columns = new QHBoxLayout(this);
  auto* layout = new QVBoxLayout;
  columns->addLayout(layout, 1);
  columns->addLayout(BuildPreview());
  layout->addLayout(BuildColourRows());
  layout->addLayout(BuildShapeRows());
  layout->addLayout(BuildLogoRows());
  allowLowContrast_ = new QCheckBox(FromUtf8(UiText::StyleAllowLowContrast), this);
  allowInverted_ = new QCheckBox(FromUtf8(UiText::StyleAllowInverted), this);
  layout->addWidget(allowLowContrast_);
  layout->addWidget(allowInverted_);
  problem_ = new QLabel(this);
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: red"));
  layout->addWidget(problem_);
  layout->addLayout(BuildButtons());
  for (QCheckBox* box : {transparent_, allowLowContrast_, allowInverted_, eyeSameColour_})
    connect(box, &QCheckBox::toggled, this, &CStyleDlg::Apply);
  for (QComboBox* box : {moduleShape_, eyeShape_, logoPad_})
    connect(box, &QComboBox::currentIndexChanged, this, &CStyleDlg::Apply);
  connect(preset_, &QComboBox::activated, this, &CStyleDlg::ChoosePreset);
  connect(logoSize_, &QSlider::valueChanged, this, &CStyleDlg::ApplyLogoSize);
  // A read-back finishing after the change that started it, and every symbol
  // the page draws.
  connect(&page_, &CSymbolPage::StyleStatusChanged, this, &CStyleDlg::ShowStyle);
  ShowStyle();
}

QLayout* CStyleDlg::BuildColourRows() {
  auto* form = new QFormLayout;
  foreground_ = new QPushButton(this);
  background_ = new QPushButton(this);
  transparent_ = new QCheckBox(FromUtf8(UiText::StyleTransparent), this);
  auto* backgroundRow = new QHBoxLayout;
  backgroundRow->addWidget(background_);
  backgroundRow->addWidget(transparent_);
  form->addRow(FromUtf8(UiText::StyleForeground), foreground_);
  form->addRow(FromUtf8(UiText::StyleBackground), backgroundRow);
  connect(foreground_, &QPushButton::clicked, this, &CStyleDlg::ChooseForeground);
  connect(background_, &QPushButton::clicked, this, &CStyleDlg::ChooseBackground);
  return form;
}

// The presets and the shapes the page's symbology takes; Data Matrix has no eyes.
QLayout* CStyleDlg::BuildShapeRows() {
  const Symbology symbology = page_.PageSymbology();
  auto* form = new QFormLayout;
  preset_ = new QComboBox(this);
  for (const StylePresetRow& row : StylePresets())
    if (PresetFor(symbology, row.preset)) preset_->addItem(PresetWords(row.preset), static_cast<int>(row.preset));
  preset_->addItem(FromUtf8(UiText::StylePresetCustom), -1);
  moduleShape_ = new QComboBox(this);
  for (const ModuleShapeRow& row : ModuleShapes())
    if (symbology == Symbology::QrCode || row.dataMatrix)
      moduleShape_->addItem(ShapeWords(row.shape), static_cast<int>(row.shape));
  eyeShape_ = new QComboBox(this);
  for (const EyeShapeRow& row : EyeShapes()) eyeShape_->addItem(ShapeWords(row.shape), static_cast<int>(row.shape));
  eyeColour_ = new QPushButton(this);
  eyeSameColour_ = new QCheckBox(FromUtf8(UiText::StyleEyeSameColour), this);
  form->addRow(FromUtf8(UiText::StylePreset), preset_);
  form->addRow(FromUtf8(UiText::StyleModuleShape), moduleShape_);
  if (symbology == Symbology::QrCode) {
    // Made only where the form takes it: a layout no widget owns is never freed.
    auto* eyeColourRow = new QHBoxLayout;
    eyeColourRow->addWidget(eyeColour_);
    eyeColourRow->addWidget(eyeSameColour_);
    form->addRow(FromUtf8(UiText::StyleEyeShape), eyeShape_);
    form->addRow(FromUtf8(UiText::StyleEyeColour), eyeColourRow);
  } else {
    for (QWidget* unused : std::initializer_list<QWidget*>{eyeShape_, eyeColour_, eyeSameColour_}) unused->hide();
  }
  connect(eyeColour_, &QPushButton::clicked, this, &CStyleDlg::ChooseEyeColour);
  return form;
}

QLayout* CStyleDlg::BuildLogoRows() {
  auto* form = new QFormLayout;
  chooseLogo_ = new QPushButton(FromUtf8(UiText::StyleChooseLogo), this);
  removeLogo_ = new QPushButton(FromUtf8(UiText::StyleRemoveLogo), this);
  logoName_ = new QLabel(this);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(chooseLogo_);
  fileRow->addWidget(removeLogo_);
  fileRow->addWidget(logoName_, 1);
  logoSize_ = new QSlider(Qt::Horizontal, this);
  logoSizeText_ = new QLabel(this);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(logoSize_, 1);
  sizeRow->addWidget(logoSizeText_);
  logoPad_ = new QComboBox(this);
  for (const LogoPadRow& row : LogoPads()) logoPad_->addItem(ShapeWords(row.shape), static_cast<int>(row.shape));
  logoNote_ = new QLabel(this);
  logoNote_->setWordWrap(true);
  form->addRow(FromUtf8(UiText::StyleLogo), fileRow);
  form->addRow(FromUtf8(UiText::StyleLogoSize), sizeRow);
  form->addRow(FromUtf8(UiText::StyleLogoPad), logoPad_);
  form->addRow(logoNote_);
  connect(chooseLogo_, &QPushButton::clicked, this, &CStyleDlg::ChooseLogo);
  connect(removeLogo_, &QPushButton::clicked, this, &CStyleDlg::RemoveLogo);
  return form;
}

QLayout* CStyleDlg::BuildPreview() {
  auto* column = new QVBoxLayout;
  preview_ = new QLabel(this);
  preview_->setFixedSize(PreviewSide, PreviewSide);
  preview_->setAlignment(Qt::AlignCenter);
  verdict_ = new QLabel(this);
  verdict_->setWordWrap(true);
  verdict_->setFixedWidth(PreviewSide);
  column->addWidget(preview_);
  column->addWidget(verdict_);
  column->addStretch(1);
  return column;
}

QLayout* CStyleDlg::BuildButtons() {
  auto* row = new QHBoxLayout;
  clear_ = new QPushButton(FromUtf8(UiText::StyleClear), this);
  ok_ = new QPushButton(FromUtf8(UiText::StyleOk), this);
  cancel_ = new QPushButton(FromUtf8(UiText::StyleCancel), this);
  ok_->setDefault(true);
  row->addWidget(clear_);
  row->addStretch(1);
  row->addWidget(ok_);
  row->addWidget(cancel_);
  connect(clear_, &QPushButton::clicked, this, &CStyleDlg::ClearStyle);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &CStyleDlg::reject);
  return row;
}

void CStyleDlg::ChooseForeground() { ChooseColour(&SymbolStyle::foreground, UiText::StyleForegroundTitle); }

void CStyleDlg::ChooseBackground() { ChooseColour(&SymbolStyle::background, UiText::StyleBackgroundTitle); }

void CStyleDlg::ChooseColour(Rgb SymbolStyle::*colour, std::string_view title) {
  PageStyle style = page_.Style();
  const std::optional<QColor> chosen = dialogs_.AskColour(this, ToQColor(style.style.*colour), FromUtf8(title));
  if (!chosen) return;
  style.style.*colour = ToRgb(*chosen);
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::ChooseEyeColour() {
  PageStyle style = page_.Style();
  const std::optional<QColor> chosen =
      dialogs_.AskColour(this, ToQColor(style.style.EyeColour()), FromUtf8(UiText::StyleEyeColourTitle));
  if (!chosen) return;
  style.style.eyeColour = ToRgb(*chosen);
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::ChoosePreset(int index) {
  const int preset = preset_->itemData(index).toInt();
  if (preset < 0) return;
  PageStyle style = page_.Style();
  style.style = WithPreset(style.style, static_cast<StylePreset>(preset), page_.PageSymbology());
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::ChooseLogo() {
  const std::optional<QString> path = dialogs_.AskLogoFile(this, logoFolder_);
  if (!path) return;
  logoFolder_ = QFileInfo(*path).absolutePath();
  const LogoFileResult loaded = LoadLogoFile(ToLocalPath(*path));
  if (!loaded.Ok()) {
    dialogs_.ShowMessage(this, FromUtf8(UiText::StyleLogoUnreadable).arg(QFileInfo(*path).fileName(), LogoFileProblem(loaded)));
    return;
  }
  PageStyle style = page_.Style();
  style.style.logo = loaded.logo;
  style.logoFile = path->toStdString();
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::RemoveLogo() {
  PageStyle style = page_.Style();
  style.style.logo.reset();
  style.style.logoShare.reset();
  style.logoFile.clear();
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::ClearStyle() {
  page_.SetStyle(PageStyle{});
  ShowStyle();
}

void CStyleDlg::reject() {
  page_.SetStyle(original_);
  QDialog::reject();
}

// The check boxes: everything else goes through its own question.
void CStyleDlg::Apply() {
  if (showing_) return;
  PageStyle style = page_.Style();
  style.style.transparentBackground = transparent_->isChecked();
  style.allowed = ContrastAllowance{allowLowContrast_->isChecked(), allowInverted_->isChecked()};
  style.style.moduleShape = static_cast<ModuleShape>(moduleShape_->currentData().toInt());
  style.style.eyeShape = static_cast<EyeShape>(eyeShape_->currentData().toInt());
  style.style.logoPad = static_cast<LogoPad>(logoPad_->currentData().toInt());
  if (eyeSameColour_->isChecked()) style.style.eyeColour.reset();
  else if (!style.style.eyeColour) style.style.eyeColour = style.style.foreground;
  page_.SetStyle(std::move(style));
  ShowStyle();
}

// Only a move of the slider sets the logo's size: until then it is the
// level's default, whatever the version the typing brings.
void CStyleDlg::ApplyLogoSize(int percent) {
  if (showing_ || !page_.Style().style.logo) return;
  PageStyle style = page_.Style();
  style.style.logoShare = percent / 100.0;
  page_.SetStyle(std::move(style));
  ShowStyle();
}

void CStyleDlg::ShowStyle() {
  showing_ = true;
  const PageStyle& style = page_.Style();
  ShowColour(foreground_, style.style.foreground);
  ShowColour(background_, style.style.background);
  background_->setEnabled(!style.style.transparentBackground);
  transparent_->setChecked(style.style.transparentBackground);
  allowLowContrast_->setChecked(style.allowed.lowContrast);
  moduleShape_->setCurrentIndex(moduleShape_->findData(static_cast<int>(style.style.moduleShape)));
  eyeShape_->setCurrentIndex(eyeShape_->findData(static_cast<int>(style.style.eyeShape)));
  ShowColour(eyeColour_, style.style.EyeColour());
  eyeColour_->setEnabled(style.style.eyeColour.has_value());
  eyeSameColour_->setChecked(!style.style.eyeColour);
  const std::optional<StylePreset> preset = PresetOf(style.style, page_.PageSymbology());
  preset_->setCurrentIndex(preset_->findData(preset ? static_cast<int>(*preset) : -1));
  allowInverted_->setChecked(style.allowed.inverted);

  const LogoRoom room = page_.RoomForLogo();
  chooseLogo_->setEnabled(room.allowed);
  removeLogo_->setEnabled(room.allowed && style.style.logo != nullptr);
  logoName_->setText(style.logoFile.empty() ? FromUtf8(UiText::StyleNoLogo) : QFileInfo(FromUtf8(style.logoFile)).fileName());
  logoSize_->setEnabled(room.allowed && style.style.logo != nullptr && room.largestShare > 0);
  logoSize_->setRange(Percent(MinLogoShare), std::max(Percent(MinLogoShare), PercentAtMost(room.largestShare)));
  logoSize_->setValue(Percent(room.shownShare));
  logoPad_->setCurrentIndex(logoPad_->findData(static_cast<int>(style.style.logoPad)));
  logoPad_->setEnabled(room.allowed && style.style.logo != nullptr);
  logoSizeText_->setText(style.style.logo ? FromUtf8(UiText::StyleLogoSizeText).arg(room.padModules).arg(Percent(room.shownShare))
                                          : QString());
  logoNote_->setText(room.note);

  const QString problem = page_.StyleProblemText();
  problem_->setText(problem);
  problem_->setVisible(!problem.isEmpty());
  // Colours the rule refuses stay on the page only while the dialog shows them.
  ok_->setEnabled(CheckContrast(style.style, style.allowed).Ok());
  ShowPreview();
  showing_ = false;
}

// Scaled as a whole: modules stay square, a plain symbol's pixels sharp.
void CStyleDlg::ShowPreview() {
  const QImage& pixels = page_.Picture();
  const Qt::TransformationMode mode = page_.Style().style.IsPlain() ? Qt::FastTransformation : Qt::SmoothTransformation;
  preview_->setPixmap(pixels.isNull() ? QPixmap()
                                      : QPixmap::fromImage(pixels.scaled(preview_->size(), Qt::KeepAspectRatio, mode)));
  const QString status = page_.StyleStatusText();
  verdict_->setText(status);
  verdict_->setStyleSheet(page_.StyleProblemText().isEmpty() ? QString() : QStringLiteral("color: red"));
}

}  // namespace quillet

// Soak of the desktop program on a real X server: thousands of random actions
// through its real widgets (typing ASCII and CJK, pasting long text, Enter,
// formats, tabs, pages, combos, drop-down, check box and date-time fields,
// the ECI box, slider, "重填", saving). After every action the symbol grabbed
// from the X server must decode to exactly the payload that the values on
// screen compose, or there is no symbol where that payload is empty, too long
// or (the general format) not one its form can carry, which the page then
// says. Controls are found by their control ids, never by
// where a layout puts them.
//   quillet_gui_soak ACTIONS [SEED]      (scripts/gui-soak starts Xvfb)
#include <fstream>
#include <random>

#include "app/HistoryDialog.h"
#include "app/OpenImage.h"
#include "app/ScreenReading.h"
#include "app/TesselApp.h"
#include "app/pages/ContentPages.h"
#include "content/Catalogue.h"
#include "content/GeneralPayload.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

constexpr std::array<int, 4> FormatRadios = {ControlId::FormatMobileV1, ControlId::FormatMobileV2,
                                             ControlId::FormatUnicom, ControlId::FormatGeneral};
// Independent limits of the standards, per QR level: what any content of that
// many bytes fits (byte mode) and what none fits (ASCII with every byte alone
// or a digit); the codewords of the largest Data Matrix.
struct QrCapacity { char level; int anyContent, noContent; };
constexpr QrCapacity QrCapacities[] = {{'L', 2953, 7089}, {'M', 2331, 5596}, {'Q', 1663, 3993}, {'H', 1273, 3057}};
constexpr int DmCodewordCapacity = 1558;
constexpr int LeastScaleDecoded = 4;  // smaller symbols are enlarged, losslessly, for the decoders
constexpr int FrameWidth = 3;
constexpr long MemoryBaselineActions = 1000;
const char* const Cjk = "中文二维码客服你好世界短信彩信名片电话邮件书签业务自定义联通移动北京上海";

// ---- the oracle: what the texts on screen compose --------------------------

// ICU's code page, not the program's table.
std::string ToCodePage(QString text) {
  QStringEncoder gbk("GBK");
  const QByteArray bytes = gbk.encode(text.replace(u'\n', QStringLiteral("\r\n")));
  return gbk.hasError() || !gbk.isValid() ? "<not in code page 936>" : bytes.toStdString();
}

// What a field of the general format shows, as the value its form takes: a
// drop-down's caption by the catalogue's choices, a tick, a date and time
// unless the editor shows none.
std::string GeneralValueOf(QWidget* edit, const FieldSpec& field) {
  if (auto* box = qobject_cast<QComboBox*>(edit)) {
    for (const FieldChoice& choice : field.choices)
      if (box->currentText() == QString::fromUtf8(choice.caption.data(), static_cast<qsizetype>(choice.caption.size())))
        return std::string(choice.value);
    return "<no such choice>";
  }
  if (auto* check = qobject_cast<QCheckBox*>(edit)) return check->isChecked() ? std::string(CheckedValue) : "";
  if (auto* time = qobject_cast<QDateTimeEdit*>(edit)) return time->text() == time->specialValueText() ? "" : time->text().toStdString();
  QString text = TextOf(edit);
  return text.replace(u'\n', QStringLiteral("\r\n")).toStdString();
}

QWidget* VisibleContentPage(QWidget* qr) {
  for (auto* page : qr->findChildren<CDialogTypeBase*>())
    if (page->isVisible()) return page;
  return nullptr;
}

// What the QR symbol carries. Operator formats: 0x01 0x10, type tag ":",
// each non-empty field as tag ":" value ";" in slot order, ";". The general
// format: what the core composes from the values on screen. Empty when
// nothing is to be encoded; `problem` set when the form cannot carry a value.
std::optional<std::string> QrDataOnScreen(CTesselDlg* qr, bool& problem) {
  int format = 0;
  for (size_t i = 0; i < FormatRadios.size(); ++i)
    if (Control<QRadioButton>(qr, FormatRadios[i])->isChecked()) format = static_cast<int>(i) + 1;
  const int tab = qr->ContentTabs()->Bar()->currentIndex();
  const TabSpec* tabSpec = FindTab(format, tab);
  const PageSpec* pageSpec = PageForTab(format, tab);
  QWidget* page = VisibleContentPage(qr);
  problem = false;
  if (!tabSpec || !pageSpec || !page || PageClassName(*page->metaObject()) != pageSpec->className) return std::nullopt;
  if (IsGeneralFormat(format)) {
    FieldValueArray values;
    for (const FieldSpec& field : pageSpec->fields)
      values[field.slot] = GeneralValueOf(Control<QWidget>(page, field.controlId), field);
    FieldProblem why;
    std::string payload = ComposeGeneralPayload(values, tab, &why);
    problem = static_cast<bool>(why);
    return payload;
  }
  std::vector<std::pair<int, std::string>> values;
  for (const FieldSpec& field : pageSpec->fields) {
    const std::string value = ToCodePage(TextOf(Control<QWidget>(page, field.controlId)));
    if (!value.empty()) values.emplace_back(field.slot, value);
  }
  if (values.empty()) return std::string();
  std::sort(values.begin(), values.end());
  std::string payload = QrPrefix + std::string(tabSpec->typeTag) + ":";
  for (const auto& [slot, value] : values) payload += std::string(FieldTags[slot]) + ":" + value + ";";
  return payload + ";";
}

enum class Fit { Empty, Fits, MayFit, TooLong };

// Content taking between `fewest` and `most` units, against what any content
// of `most` units fits and what none of `fewest` does.
Fit FitOf(bool empty, int most, int fitsAny, int fewest, int fitsNone) {
  if (empty) return Fit::Empty;
  if (most <= fitsAny) return Fit::Fits;
  return fewest > fitsNone ? Fit::TooLong : Fit::MayFit;
}

// The ECI designator takes 12 bits: two bytes' room.
Fit QrFit(const std::string& data, char level, bool eci) {
  const int bytes = static_cast<int>(data.size()) + (eci ? 2 : 0);
  for (const QrCapacity& c : QrCapacities)
    if (c.level == level) return FitOf(data.empty(), bytes, c.anyContent, bytes, c.noContent);
  return Fit::MayFit;
}

// A byte above 127 takes two codewords, a digit at best half of one.
Fit DmFit(const std::string& text) {
  int most = 0, digits = 0, fewest = 0;
  for (const unsigned char b : text) {
    most += b >= 128 ? 2 : 1;
    if (b >= '0' && b <= '9') ++digits;
    else fewest += b >= 128 ? 2 : 1;
  }
  return FitOf(text.empty(), most, DmCodewordCapacity, fewest + (digits + 1) / 2, DmCodewordCapacity);
}

// ---- the screen and the saved files ----------------------------------------

// `rect` of `image` (white beyond it), enlarged so that a module has at
// least four pixels, pixels greyer than `darkBelow` black.
std::optional<std::string> DecodeEnlarged(const QImage& image, const QRect& rect, int scale, int darkBelow, DecodeFormat format) {
  QImage cut(rect.size(), QImage::Format_RGB32);
  cut.fill(Qt::white);
  QPainter(&cut).drawImage(-rect.topLeft(), image);
  const int enlarge = (LeastScaleDecoded + scale - 1) / scale;
  return DecodePicture(cut.scaled(cut.size() * enlarge), format, darkBelow);
}

struct Shown {
  bool any = false;        // a dark pixel in the picture area
  bool oversized = false;  // larger than the area, or partly under another control
  std::optional<std::string> decoded;
};

// Whether a control of the page other than the picture frame and the area
// that scrolls the picture in it overlaps `rect` (page coordinates): a symbol
// there may be partly hidden.
bool UnderAControl(QWidget* page, const QRect& rect) {
  const QStringList picture = {QString::number(ControlId::Picture), QStringLiteral("pictureScroller")};
  for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible() && !picture.contains(child->objectName()) && child->geometry().intersects(rect))
      return true;
  return false;
}

Shown ReadScreen(QWidget* page, const QRect& area, int scale, DecodeFormat format) {
  QCoreApplication::processEvents();
  const QPoint at = page->mapToGlobal(area.topLeft());
  const QImage image =
      page->screen()->grabWindow(0, at.x(), at.y(), area.width(), area.height()).toImage().convertToFormat(QImage::Format_RGB32);
  Shown shown;
  QRect dark;  // only pure black is a module
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) == 0) dark |= QRect(x, y, 1, 1);
  shown.any = !dark.isEmpty();
  // The picture frame is drawn over the symbol's edge: reaching it means larger.
  shown.oversized = shown.any && (!image.rect().adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth).contains(dark) ||
                                  UnderAControl(page, dark.translated(area.topLeft()).adjusted(-scale, -scale, scale, scale)));
  // The symbol with a quiet zone of four modules.
  if (shown.any && !shown.oversized)
    shown.decoded = DecodeEnlarged(image, dark.adjusted(-4 * scale, -4 * scale, 4 * scale, 4 * scale), scale, 1, format);
  return shown;
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// ---- the actions and the check ---------------------------------------------

// Reading from the screen asks no question here: every one is answered no.
class DeclinedOpenDialogs : public OpenDialogs {
 public:
  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList&) override { return -1; }
  Choice AskNotHeld(QWidget*, const QString&) override { return Choice::Cancel; }
  void ShowMessage(QWidget*, const QString&) override {}
  TextAction AskTextAction(QWidget*, const QString&, const TextActions&) override { return TextAction::Cancel; }
  void OpenLink(const QString&) override {}
};

class Soak {
 public:
  Soak(unsigned seed, QString folder) : rng_(seed), folder_(std::move(folder)) {
    window_.show();
    (void)QTest::qWaitForWindowExposed(&window_);
    window_.activateWindow();
    qr_->SetSaveDialogs(&dialogs_);
    dm_->SetSaveDialogs(&dialogs_);
    window_.SetOpenDialogs(declined_);
  }

  // Runs one random action and checks the screen; false on a mismatch.
  bool Step(long index) {
    const Action& action = actions_[pick_(rng_)];
    action.run();
    return Check(index, action.name);
  }

  long checked = 0, oversized = 0, empty = 0, tooLong = 0, saves = 0, problems = 0;

 private:
  struct Action {
    const char* name;
    double weight;
    std::function<void()> run;
  };

  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool OnQrPage() const { return qr_->isVisible(); }
  CSymbolPage* Page() const { return OnQrPage() ? static_cast<CSymbolPage*>(qr_) : dm_; }
  DecodeFormat Format() const { return OnQrPage() ? DecodeFormat::QrCode : DecodeFormat::DataMatrix; }

  // A text box on screen (a content page's field or the DM text), clicked,
  // the caret at its end.
  QWidget* AnyField(bool multiLineOnly = false) {
    std::vector<QWidget*> fields;
    if (!OnQrPage()) fields.push_back(dm_->TextBox());
    else if (QWidget* page = VisibleContentPage(qr_))
      for (auto* edit : page->findChildren<QWidget*>())
        if ((qobject_cast<QLineEdit*>(edit) || qobject_cast<QPlainTextEdit*>(edit)) && edit->isVisible()) fields.push_back(edit);
    if (multiLineOnly) std::erase_if(fields, [](QWidget* w) { return !qobject_cast<QPlainTextEdit*>(w); });
    if (fields.empty()) return nullptr;
    QWidget* field = fields[Below(static_cast<int>(fields.size()))];
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(2, 2));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    return field;
  }

  QString RandomText(int length, bool cjk) {
    static const QString all = QString::fromUtf8(Cjk);
    QString s;
    for (int i = 0; i < length; ++i) s += cjk ? all[Below(static_cast<int>(all.size()))] : QChar(32 + Below(95));
    return s;
  }

  void PasteLong() {
    QWidget* field = AnyField();
    if (!field) return;
    QString text;
    while (text.size() < 100 + Below(1500))
      text += Below(3) ? RandomText(1 + Below(30), false) : RandomText(1 + Below(10), true);
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  }
  void Erase() {
    QWidget* field = AnyField();
    if (!field) return;
    if (Below(3) == 0) {
      QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(field, Qt::Key_Delete);
    } else {
      for (int n = 1 + Below(20); n > 0; --n) QTest::keyClick(field, Qt::Key_Backspace);
    }
  }
  // A tab scrolled out of view is brought in by the keyboard, as a user would.
  void SwitchTab() {
    if (!OnQrPage()) return;
    QTabBar* bar = qr_->ContentTabs()->Bar();
    const int tab = Below(bar->count());
    if (bar->rect().contains(bar->tabRect(tab).center())) {
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    } else {
      bar->setFocus();
      bar->setCurrentIndex(tab);
    }
  }
  void ChooseInCombo() {
    std::vector<int> ids = {ControlId::VersionList};
    if (OnQrPage()) ids.push_back(ControlId::EcLevel);
    auto* combo = Control<QComboBox>(Page(), ids[Below(static_cast<int>(ids.size()))]);
    combo->setFocus();
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};
    for (int n = 1 + Below(4); n > 0; --n) QTest::keyClick(combo, keys[Below(6)]);
  }
  // Mostly small scales, where the symbol fits the picture area; by keyboard.
  void MoveSlider() {
    auto* slider = Control<QSlider>(Page(), ControlId::Zoom);
    slider->setFocus();
    const int target = Below(10) < 7 ? 1 + Below(4) : 5 + Below(12);
    bool up = target > slider->value();
    for (int n = 0; n < 40 && slider->value() != target; ++n) {
      const int before = slider->value();
      QTest::keyClick(slider, up ? Qt::Key_Up : Qt::Key_Down);
      if ((slider->value() - before) * (target - before) < 0) up = !up;
    }
  }
  // A drop-down, check box or date-time field of the page shown, by keyboard or click.
  template <typename Widget>
  Widget* AnyOf() {
    QWidget* page = OnQrPage() ? VisibleContentPage(qr_) : nullptr;
    if (!page) return nullptr;
    std::vector<Widget*> found;
    for (Widget* w : page->findChildren<Widget*>())
      if (w->isVisible()) found.push_back(w);
    return found.empty() ? nullptr : found[Below(static_cast<int>(found.size()))];
  }
  void ChooseInField() {
    if (auto* box = AnyOf<QComboBox>()) {
      box->setFocus();
      QTest::keyClick(box, Below(2) ? Qt::Key_Down : Qt::Key_Up);
    }
  }
  void Tick() {
    if (auto* check = AnyOf<QCheckBox>()) QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
  }
  void StepDateTime() {
    auto* time = AnyOf<QDateTimeEdit>();
    if (!time) return;
    time->setFocus();
    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Delete, Qt::Key_1, Qt::Key_9};
    for (int n = 1 + Below(4); n > 0; --n) QTest::keyClick(time, keys[Below(8)]);
  }
  // To a fresh name in one of the four raster entries: saves are read back as images.
  void Save() {
    dialogs_.asked.clear();
    dialogs_.messages.clear();
    entry_ = 1 + Below(4);
    dialogs_.answers = {{folder_ + QStringLiteral("/save%1").arg(saves), entry_}};
    saveRequested_ = true;
    ClickButton(Page(), ControlId::Save);
  }

  // "从屏幕识别" on the X server: the window steps aside and comes back.
  void ReadFromScreen() {
    QTest::keyClick(&window_, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    (void)QTest::qWaitFor([this] { return !window_.Screen().Busy(); }, 10000);
    (void)QTest::qWaitForWindowExposed(&window_);
  }

  // "最近": a random entry opened into its page, or deleted and the list closed.
  void UseHistory(bool open) {
    QTest::mouseClick(window_.HistoryButton(), Qt::LeftButton);
    auto* dialog = window_.findChild<CHistoryDlg*>();
    if (dialog == nullptr) return;
    QTreeWidget* list = dialog->List();
    if (const int count = list->topLevelItemCount(); count > 0) {
      QTreeWidgetItem* item = list->topLevelItem(Below(count));
      list->scrollToItem(item);
      list->setCurrentItem(item);
      if (open) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
      else QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);
    }
    if (dialog->isVisible()) dialog->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  bool Fail(long index, const char* action, const std::string& why) {
    std::printf("action %ld (%s): %s\n", index, action, why.c_str());
    return false;
  }

  bool Check(long index, const char* action) {
    const bool saved = std::exchange(saveRequested_, false);
    std::optional<std::string> payload;
    Fit fit;
    if (OnQrPage()) {
      bool problem = false;
      payload = QrDataOnScreen(qr_, problem);
      if (!payload) return Fail(index, action, "the content page shown is not the one of the tab and format shown");
      if (problem && qr_->PrintedSizeText().isEmpty()) return Fail(index, action, "a value no form carries, and no word why");
      if (problem) payload = std::string();
      const QString level = Control<QComboBox>(qr_, ControlId::EcLevel)->currentText();
      fit = QrFit(*payload, level.isEmpty() ? 'H' : level[0].toLatin1(), Control<QCheckBox>(qr_, ControlId::Eci)->isChecked());
      problems += problem;
    } else {
      payload = ToCodePage(TextOf(dm_->TextBox()));
      fit = DmFit(*payload);
    }
    const int scale = Control<QSlider>(Page(), ControlId::Zoom)->value();
    const Shown shown = ReadScreen(Page(), Page()->PictureArea(), scale, Format());
    empty += fit == Fit::Empty;
    tooLong += fit == Fit::TooLong;
    if (shown.oversized) {
      ++oversized;
    } else if (fit == Fit::Empty || fit == Fit::TooLong) {
      if (shown.any) return Fail(index, action, "a symbol is shown for empty or too long content");
    } else if (shown.decoded || fit == Fit::Fits) {
      ++checked;
      if (shown.decoded != payload)
        return Fail(index, action, "on screen " + Printable(shown.decoded) + ", fields compose " + Printable(payload));
    }
    return !saved || CheckSaved(index, action, shown.any ? payload : std::nullopt, scale);
  }

  bool CheckSaved(long index, const char* action, const std::optional<std::string>& payload, int scale) {
    ++saves;
    // The entry's extension completes the bare name, when the file dialog opened.
    const QString path = dialogs_.asked.empty() ? QString() : folder_ + QStringLiteral("/save%1").arg(saves - 1) +
        QRegularExpression(QStringLiteral(R"(\*(\.\w+))")).match(dialogs_.asked[0].filters[entry_ - 1]).captured(1);
    const bool exists = !path.isEmpty() && QFile::exists(path);
    if (!payload) return exists ? Fail(index, action, "a file was saved without a symbol") : true;
    if (!exists) return Fail(index, action, "no file saved: " + path.toStdString());
    const QImage image(path);
    const auto decoded = DecodeEnlarged(image, image.rect(), scale, 128, Format());
    QFile::remove(path);
    // A JPEG at less than 4 pixels per module may blur beyond reading.
    if (decoded != payload && !(!decoded && path.endsWith(QStringLiteral(".jpg"))))
      return Fail(index, action, "saved file reads " + Printable(decoded));
    return true;
  }

  std::mt19937 rng_;
  CDialogMain window_;
  CTesselDlg* qr_ = window_.QrPage();
  CDialogDM* dm_ = window_.DmPage();
  const QString folder_;
  FakeSaveDialogs dialogs_;
  DeclinedOpenDialogs declined_;
  int entry_ = 1;
  bool saveRequested_ = false;
  const std::vector<Action> actions_ = {
      {"type ASCII", 18, [this] { if (QWidget* f = AnyField()) QTest::keyClicks(f, RandomText(1 + Below(12), false)); }},
      {"type CJK", 8, [this] { if (QWidget* f = AnyField()) TypeInto(f, RandomText(1 + Below(4), true)); }},
      {"paste long text", 2, [this] { PasteLong(); }},
      {"Enter", 5, [this] { if (QWidget* f = AnyField(true)) QTest::keyClick(f, Qt::Key_Return); }},
      {"erase", 14, [this] { Erase(); }},
      {"switch format", 4, [this] { if (OnQrPage()) QTest::mouseClick(Control<QRadioButton>(qr_, FormatRadios[Below(4)]), Qt::LeftButton); }},
      {"drop-down field", 3, [this] { ChooseInField(); }},
      {"check box field", 2, [this] { Tick(); }},
      {"date-time field", 4, [this] { StepDateTime(); }},
      {"ECI", 1, [this] { if (OnQrPage()) QTest::mouseClick(Control<QCheckBox>(qr_, ControlId::Eci), Qt::LeftButton, {}, QPoint(4, 4)); }},
      {"switch tab", 6, [this] { SwitchTab(); }},
      {"switch page", 4, [this] {
         QTabBar* bar = window_.Tabs()->tabBar();
         QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Below(bar->count())).center());
       }},
      {"combo", 6, [this] { ChooseInCombo(); }},
      {"slider", 8, [this] { MoveSlider(); }},
      {"重填", 3, [this] { ClickButton(Page(), ControlId::Reset); }},
      {"save", 3, [this] { Save(); }},
      {"history open", 2, [this] { UseHistory(true); }},
      {"history delete", 1, [this] { UseHistory(false); }},
      {"screen read", 1, [this] { ReadFromScreen(); }}};
  std::discrete_distribution<size_t> pick_ = [this] {
    std::vector<double> weights;
    for (const Action& action : actions_) weights.push_back(action.weight);
    return std::discrete_distribution<size_t>(weights.begin(), weights.end());
  }();
};

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::stol(argv[1]) : 1000;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 20261207u;
  std::printf("gui-soak: seed %u, %ld actions\n", seed, count);
  std::fflush(stdout);
  CTesselApp app(argc, argv);
  QTemporaryDir folder;
  Soak soak(seed, folder.path());
  const long baselineAt = std::min(MemoryBaselineActions, count / 2);
  long failures = 0, baseline = 0;
  for (long i = 0; i < count; ++i) {
    if (!soak.Step(i) && ++failures >= 20) break;
    if (i + 1 == baselineAt) baseline = ResidentKilobytes();
  }
  const long end = ResidentKilobytes();
  // Memory is held to account only after a thousand actions have warmed every cache.
  const bool memoryKept = count < 2 * MemoryBaselineActions || end <= baseline + baseline / 10;
  std::printf("gui-soak: %ld actions, %ld symbols read back, %ld oversized, %ld empty, %ld too long, %ld values no "
              "form carries, %ld saves, %ld failures; resident %ld kB after %ld actions, %ld kB at the end%s\n",
              count, soak.checked, soak.oversized, soak.empty, soak.tooLong, soak.problems, soak.saves, failures, baseline, baselineAt,
              end, memoryKept ? "" : " (grew more than 10 %)");
  // A soak that read no symbol back checked nothing: its screen reading is broken, not the program sound.
  const bool readAny = count < 100 || soak.checked > 0;
  if (!readAny) std::printf("gui-soak: no symbol on the screen was read back\n");
  return failures == 0 && memoryKept && readAny ? 0 : 1;
}

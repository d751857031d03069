// Soak of the desktop program on a real X server: thousands of random actions
// through its real widgets (typing ASCII and CJK, pasting long text, Enter,
// formats, tabs, pages, combos, slider, "重填", saving). After every action
// the symbol grabbed from the X server must decode to exactly the payload
// that the texts on screen compose, or there is no symbol where that payload
// is empty or too long. Controls are found by their control ids, never by
// where a layout puts them.
//   quillet_gui_soak ACTIONS [SEED]      (scripts/gui-soak starts Xvfb)
#include <iconv.h>

#include <fstream>
#include <random>

#include "app/TesselApp.h"
#include "content/Catalogue.h"
#include "tests/gui/GuiHelpers.h"

namespace {

constexpr std::array<int, 3> FormatRadios = {ControlId::FormatMobileV1, ControlId::FormatMobileV2,
                                             ControlId::FormatUnicom};
// Independent limits of the standards: what any content of that many bytes
// fits (byte mode, ASCII with every byte alone) and what none fits.
constexpr std::array<std::pair<char, int>, 4> QrByteCapacity = {{{'L', 2953}, {'M', 2331}, {'Q', 1663}, {'H', 1273}}};
constexpr std::array<std::pair<char, int>, 4> QrDigitCapacity = {{{'L', 7089}, {'M', 5596}, {'Q', 3993}, {'H', 3057}}};
constexpr int DmCodewordCapacity = 1558;
constexpr int LeastScaleDecoded = 4;
constexpr int FrameWidth = 3;
constexpr long MemoryBaselineActions = 1000;  // smaller symbols are enlarged, losslessly, for the decoders
const char* const Cjk = "中文二维码客服你好世界短信彩信名片电话邮件书签业务自定义联通移动北京上海";

// ---- the oracle: what the texts on screen compose --------------------------

std::string ToCodePage(QString text) {
  text.replace(u'\n', QStringLiteral("\r\n"));
  std::string utf8 = text.toStdString(), out(utf8.size() * 2 + 4, '\0');
  iconv_t cd = iconv_open("GBK", "UTF-8");
  char* in = utf8.data();
  char* to = out.data();
  size_t inLeft = utf8.size(), outLeft = out.size();
  const size_t result = iconv(cd, &in, &inLeft, &to, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return "<not in code page 936>";
  out.resize(out.size() - outLeft);
  return out;
}

QString TextOf(QWidget* edit) {
  if (auto* line = qobject_cast<QLineEdit*>(edit)) return line->text();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(edit)) return plain->toPlainText();
  return {};
}

int CheckedFormat(QWidget* qr) {
  for (size_t i = 0; i < FormatRadios.size(); ++i)
    if (Control<QRadioButton>(qr, FormatRadios[i])->isChecked()) return static_cast<int>(i) + 1;
  return 0;
}

QWidget* VisibleContentPage(QWidget* qr) {
  for (auto* page : qr->findChildren<CDialogTypeBase*>())
    if (page->isVisible()) return page;
  return nullptr;
}

// Type tag ":", each non-empty field as tag ":" value ";" in slot order, ";".
std::optional<std::string> QrPayloadOnScreen(CTesselDlg* qr) {
  const int format = CheckedFormat(qr);
  const int tab = qr->ContentTabs()->Bar()->currentIndex();
  const TabSpec* tabSpec = FindTab(format, tab);
  const PageSpec* pageSpec = PageForTab(format, tab);
  QWidget* page = VisibleContentPage(qr);
  if (!tabSpec || !pageSpec || !page || page->metaObject()->className() != pageSpec->className) return std::nullopt;
  std::vector<std::pair<int, std::string>> values;
  for (const FieldSpec& field : pageSpec->fields) {
    const std::string value = ToCodePage(TextOf(Control<QWidget>(page, field.controlId)));
    if (!value.empty()) values.emplace_back(field.slot, value);
  }
  if (values.empty()) return std::string();
  std::sort(values.begin(), values.end());
  std::string payload = std::string(tabSpec->typeTag) + ":";
  for (const auto& [slot, value] : values) payload += std::string(FieldTags[slot]) + ":" + value + ";";
  return payload + ";";
}

enum class Fit { Empty, Fits, MayFit, TooLong };

int CapacityOf(const std::array<std::pair<char, int>, 4>& table, char level) {
  for (const auto& [letter, capacity] : table)
    if (letter == level) return capacity;
  return 0;
}

Fit QrFit(const std::string& payload, char level) {
  if (payload.empty()) return Fit::Empty;
  const int bytes = static_cast<int>(payload.size()) + 2;
  if (bytes <= CapacityOf(QrByteCapacity, level)) return Fit::Fits;
  return bytes > CapacityOf(QrDigitCapacity, level) ? Fit::TooLong : Fit::MayFit;
}

Fit DmFit(const std::string& text) {
  if (text.empty()) return Fit::Empty;
  int most = 0, digits = 0, fewest = 0;
  for (const unsigned char b : text) {
    most += b >= 128 ? 2 : 1;
    if (b >= '0' && b <= '9') ++digits;
    else fewest += b >= 128 ? 2 : 1;
  }
  fewest += (digits + 1) / 2;
  if (most <= DmCodewordCapacity) return Fit::Fits;
  return fewest > DmCodewordCapacity ? Fit::TooLong : Fit::MayFit;
}

// ---- the screen ------------------------------------------------------------

struct Shown {
  bool any = false;        // a dark pixel in the picture area
  bool oversized = false;  // larger than the area, or partly under another control
  std::optional<std::string> decoded;
};

// Whether a control of the page other than the picture frame overlaps `rect`
// (page coordinates): a symbol there may be partly hidden.
bool UnderAControl(QWidget* page, const QRect& rect) {
  for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible() && child->objectName() != QString::number(ControlId::Picture) &&
        child->geometry().intersects(rect))
      return true;
  return false;
}

Shown ReadScreen(QWidget* page, const QRect& area, int scale, DecodeFormat format) {
  QCoreApplication::processEvents();
  const QPoint at = page->mapToGlobal(area.topLeft());
  const QImage image = page->screen()
                           ->grabWindow(0, at.x(), at.y(), area.width(), area.height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  Shown shown;
  QRect dark;  // only pure black is a module
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) == 0) dark |= QRect(x, y, 1, 1);
  shown.any = !dark.isEmpty();
  // The picture frame is drawn over the symbol's edge: reaching it means larger.
  shown.oversized = shown.any && (!image.rect().adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth).contains(dark) ||
                                  UnderAControl(page, dark.translated(area.topLeft()).adjusted(-scale, -scale, scale, scale)));
  if (!shown.any || shown.oversized) return shown;
  // The symbol with a quiet zone of four modules, enlarged for the decoders.
  const QRect symbol = dark.adjusted(-4 * scale, -4 * scale, 4 * scale, 4 * scale);
  const int enlarge = (LeastScaleDecoded + scale - 1) / scale;
  const int w = symbol.width() * enlarge, h = symbol.height() * enlarge;
  std::vector<uint8_t> grey(static_cast<size_t>(w) * h, 255);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QPoint p(symbol.x() + x / enlarge, symbol.y() + y / enlarge);
      if (image.rect().contains(p) && qGray(image.pixel(p)) == 0) grey[static_cast<size_t>(y) * w + x] = 0;
    }
  shown.decoded = DecodeImage(grey.data(), w, h, format);
  return shown;
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// Saves go to the soak's folder under a name the soak chooses; messages are recorded.
class SoakSaveDialogs : public SaveDialogs {
 public:
  QString folder;
  int filterChoice = 1;
  QString lastPath;
  int messages = 0;

  // Only the four raster entries of the saving rule: the soak reads saves back as images.
  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget*, const SaveFileQuestion& question) override {
    const QStringList& entries = question.filters;
    filterChoice = std::clamp(filterChoice, 1, std::min(4, static_cast<int>(entries.size())));
    const QString entry = entries[filterChoice - 1];
    const int star = entry.indexOf(QStringLiteral("*."));
    const QString extension = entry.mid(star + 1, entry.indexOf(QRegularExpression(QStringLiteral("[ ;)]")), star) - star - 1);
    lastPath = folder + QStringLiteral("/save%1").arg(++count_) + extension;
    return std::make_pair(folder + QStringLiteral("/save%1").arg(count_), filterChoice);
  }
  bool ConfirmOverwrite(QWidget*, const QString&) override { return true; }
  void ShowMessage(QWidget*, const QString&, bool) override { ++messages; }

 private:
  int count_ = 0;
};

// ---- the actions -----------------------------------------------------------

class Soak {
 public:
  Soak(unsigned seed, QString folder) : rng_(seed) {
    window_.show();
    (void)QTest::qWaitForWindowExposed(&window_);
    window_.activateWindow();
    dialogs_.folder = std::move(folder);
    qr_->SetSaveDialogs(&dialogs_);
    dm_->SetSaveDialogs(&dialogs_);
  }

  // Runs one random action and checks the screen; false on a mismatch.
  bool Step(long index) {
    const auto& [name, action] = actions_[Pick()];
    QElapsedTimer timer;
    timer.start();
    action();
    const qint64 acted = timer.elapsed();
    const bool ok = Check(index, name);
    if (trace_) std::fprintf(stderr, "%ld %s: %lld ms, check %lld ms\n", index, name, acted, timer.elapsed() - acted);
    return ok;
  }

  long checked = 0, oversized = 0, empty = 0, tooLong = 0, saves = 0;

 private:
  using Action = std::pair<const char*, std::function<void()>>;

  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  size_t Pick() {
    int total = 0;
    for (int w : weights_) total += w;
    int r = Below(total);
    for (size_t i = 0;; ++i)
      if ((r -= weights_[i]) < 0) return i;
  }

  bool OnQrPage() const { return qr_->isVisible(); }
  CSymbolPage* Page() const { return OnQrPage() ? static_cast<CSymbolPage*>(qr_) : dm_; }

  // The text boxes on screen: the content page's fields, or the DM text.
  std::vector<QWidget*> Fields() const {
    if (!OnQrPage()) return {dm_->TextBox()};
    std::vector<QWidget*> fields;
    if (QWidget* page = VisibleContentPage(qr_))
      for (auto* edit : page->findChildren<QWidget*>())
        if ((qobject_cast<QLineEdit*>(edit) || qobject_cast<QPlainTextEdit*>(edit)) && edit->isVisible())
          fields.push_back(edit);
    return fields;
  }
  QWidget* AnyField(bool multiLineOnly = false) {
    std::vector<QWidget*> fields = Fields();
    if (multiLineOnly)
      std::erase_if(fields, [](QWidget* w) { return !qobject_cast<QPlainTextEdit*>(w); });
    if (fields.empty()) return nullptr;
    QWidget* field = fields[Below(static_cast<int>(fields.size()))];
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(2, 2));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    return field;
  }

  QString RandomAscii(int length) {
    QString s;
    for (int i = 0; i < length; ++i) s += QChar(32 + Below(95));
    return s;
  }
  QString RandomCjk(int length) {
    const QString all = QString::fromUtf8(Cjk);
    QString s;
    for (int i = 0; i < length; ++i) s += all[Below(static_cast<int>(all.size()))];
    return s;
  }

  void TypeAscii() {
    if (QWidget* field = AnyField()) QTest::keyClicks(field, RandomAscii(1 + Below(12)));
  }
  void TypeCjk() {
    QWidget* field = AnyField();
    if (!field) return;
    QInputMethodEvent commit;
    commit.setCommitString(RandomCjk(1 + Below(4)));
    QApplication::sendEvent(field, &commit);
  }
  void PasteLong() {
    QWidget* field = AnyField();
    if (!field) return;
    QString text;
    while (text.size() < 100 + Below(1500)) text += Below(3) ? RandomAscii(1 + Below(30)) : RandomCjk(1 + Below(10));
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  }
  void Enter() {
    if (QWidget* field = AnyField(true)) QTest::keyClick(field, Qt::Key_Return);
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
  void SwitchFormat() {
    if (OnQrPage()) QTest::mouseClick(Control<QRadioButton>(qr_, FormatRadios[Below(3)]), Qt::LeftButton);
  }
  void SwitchTab() {
    if (!OnQrPage()) return;
    QTabBar* bar = qr_->ContentTabs()->Bar();
    const int tab = Below(bar->count());
    // A tab scrolled out of view is brought in by the keyboard, as a user would.
    if (!bar->rect().contains(bar->tabRect(tab).center())) {
      bar->setFocus();
      bar->setCurrentIndex(tab);
      return;
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
  }
  void SwitchPage() {
    QTabBar* bar = window_.Tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Below(bar->count())).center());
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
  void Reset() { QTest::mouseClick(Control<QPushButton>(Page(), ControlId::Reset), Qt::LeftButton); }
  void Save() {
    dialogs_.filterChoice = 1 + Below(4);
    dialogs_.lastPath.clear();
    saveRequested_ = true;
    QTest::mouseClick(Control<QPushButton>(Page(), ControlId::Save), Qt::LeftButton);
  }

  // ---- the check -----------------------------------------------------------

  bool Fail(long index, const char* action, const std::string& why) {
    std::printf("action %ld (%s): %s\n", index, action, why.c_str());
    return false;
  }

  bool Check(long index, const char* action) {
    const bool saved = std::exchange(saveRequested_, false);
    CSymbolPage* page = Page();
    std::optional<std::string> payload;
    Fit fit;
    if (OnQrPage()) {
      payload = QrPayloadOnScreen(qr_);
      if (!payload) return Fail(index, action, "the content page shown is not the one of the tab and format shown");
      const QString level = Control<QComboBox>(qr_, ControlId::EcLevel)->currentText();
      fit = QrFit(*payload, level.isEmpty() ? 'H' : level[0].toLatin1());
      payload = std::string("\x01\x10", 2) + *payload;
    } else {
      payload = ToCodePage(TextOf(dm_->TextBox()));
      fit = DmFit(*payload);
    }
    const int scale = Control<QSlider>(page, ControlId::Zoom)->value();
    const Shown shown =
        ReadScreen(page, page->PictureArea(), scale, OnQrPage() ? DecodeFormat::QrCode : DecodeFormat::DataMatrix);
    if (fit == Fit::Empty) ++empty;
    if (fit == Fit::TooLong) ++tooLong;
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
    const bool exists = !dialogs_.lastPath.isEmpty() && QFile::exists(dialogs_.lastPath);
    if (!payload) return exists ? Fail(index, action, "a file was saved without a symbol") : true;
    if (!exists) return Fail(index, action, "no file saved: " + dialogs_.lastPath.toStdString());
    const int enlarge = (LeastScaleDecoded + scale - 1) / scale;
    const QImage image = QImage(dialogs_.lastPath).convertToFormat(QImage::Format_Grayscale8);
    const int w = image.width() * enlarge, h = image.height() * enlarge;
    std::vector<uint8_t> grey(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) grey[static_cast<size_t>(y) * w + x] = qGray(image.pixel(x / enlarge, y / enlarge)) < 128 ? 0 : 255;
    const auto format = OnQrPage() ? DecodeFormat::QrCode : DecodeFormat::DataMatrix;
    const auto decoded = DecodeImage(grey.data(), w, h, format);
    QFile::remove(dialogs_.lastPath);
    // A JPEG at less than 4 pixels per module may blur beyond reading.
    if (!decoded && dialogs_.lastPath.endsWith(QStringLiteral(".jpg"))) return true;
    if (decoded != payload)
      return Fail(index, action, "saved file reads " + Printable(decoded));
    return true;
  }

  std::mt19937 rng_;
  CDialogMain window_;
  CTesselDlg* qr_ = window_.QrPage();
  CDialogDM* dm_ = window_.DmPage();
  SoakSaveDialogs dialogs_;
  bool saveRequested_ = false;
  const bool trace_ = qEnvironmentVariableIsSet("QUILLET_SOAK_TRACE");
  const std::vector<Action> actions_ = {
      {"type ASCII", [this] { TypeAscii(); }}, {"type CJK", [this] { TypeCjk(); }},
      {"paste long text", [this] { PasteLong(); }}, {"Enter", [this] { Enter(); }},
      {"erase", [this] { Erase(); }}, {"switch format", [this] { SwitchFormat(); }},
      {"switch tab", [this] { SwitchTab(); }}, {"switch page", [this] { SwitchPage(); }},
      {"combo", [this] { ChooseInCombo(); }}, {"slider", [this] { MoveSlider(); }},
      {"重填", [this] { Reset(); }}, {"save", [this] { Save(); }}};
  const std::vector<int> weights_ = {18, 8, 2, 5, 14, 4, 6, 4, 6, 8, 3, 3};
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
  std::printf("gui-soak: %ld actions, %ld symbols read back, %ld oversized, %ld empty, %ld too long, %ld saves, "
              "%ld failures; resident %ld kB after %ld actions, %ld kB at the end%s\n",
              count, soak.checked, soak.oversized, soak.empty, soak.tooLong, soak.saves, failures, baseline, baselineAt,
              end, memoryKept ? "" : " (grew more than 10 %)");
  return failures == 0 && memoryKept ? 0 : 1;
}

#include "app/OpenImage.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QTabWidget>

#include "app/DialogDM.h"
#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/ScreenDialogs.h"
#include "app/TesselDlg.h"
#include "content/CodePage.h"
#include "content/Recognition.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"
#include "verify/ReadSymbols.h"

namespace quillet {

namespace {

// Items of the list of several symbols show this much of their text.
constexpr int ItemTextLength = 40;

QString Fill(std::string_view pattern, const QString& first) { return FromUtf8(pattern).arg(first); }

QString ReadProblemText(const ImageReadProblem& problem) {
  const QString subject = FromUtf8(problem.subject);
  switch (problem.failure) {
    case ImageReadFailure::None: return {};
    case ImageReadFailure::CannotOpen: return SystemReason(problem.error);
    case ImageReadFailure::NotAnImage: return FromUtf8(UiText::OpenNotAnImage);
    case ImageReadFailure::Unsupported: return Fill(UiText::OpenUnsupported, ReadDetailText(problem.detail, problem.number));
    case ImageReadFailure::TooLarge:
      if (subject.isEmpty()) return FromUtf8(UiText::OpenFileTooLarge);
      return FromUtf8(UiText::OpenTooLarge).arg(subject).arg(MaxImagePixels / 1'000'000);
    case ImageReadFailure::Truncated: return FromUtf8(UiText::OpenTruncated);
    case ImageReadFailure::Damaged: {
      const QString found = ReadDetailText(problem.detail, problem.number);
      return found.isEmpty() ? FromUtf8(UiText::OpenDamaged) : Fill(UiText::OpenDamagedBecause, found);
    }
    case ImageReadFailure::NoDecoders: return FromUtf8(UiText::OpenNoDecoders);
  }
  return {};
}

QString UnheldText(const Unheld& unheld) {
  const QString subject = FromUtf8(unheld.subject);
  switch (unheld.reason) {
    case UnheldReason::None: return {};
    case UnheldReason::UnknownTag: return Fill(UiText::UnheldUnknownTag, subject);
    case UnheldReason::TagNotOnPage: return Fill(UiText::UnheldNotOnPage, subject);
    case UnheldReason::RepeatedTag: return Fill(UiText::UnheldRepeated, subject);
    case UnheldReason::Malformed: return FromUtf8(UiText::UnheldMalformed);
    case UnheldReason::NotCodePage: return FromUtf8(UiText::UnheldNotCodePage);
    case UnheldReason::NotAChoice: return Fill(UiText::UnheldNotAChoice, subject);
  }
  return {};
}

// A symbol's bytes as text: UTF-8 where they are (code page 936 text seldom
// is, while UTF-8 often also decodes as code page 936), code page 936
// otherwise; empty when they are neither.
QString SymbolText(const std::string& bytes) {
  if (IsValidUtf8(bytes)) return FromUtf8(bytes);
  return FromUtf8(CodePageToUtf8(bytes).value_or(""));
}

QString TabCaptionOf(const Recognised& found) {
  return FromUtf8(BareTabCaption(*FindTab(found.page.format, found.page.tab)));
}

QString SymbolItem(int number, const FoundSymbol& symbol) {
  QString name = FromUtf8(symbol.symbology == Symbology::QrCode ? UiText::QrSymbolName : UiText::DmSymbolName);
  if (symbol.level) name += QStringLiteral(" %1").arg(QChar(QrLevelLetter(*symbol.level)));
  QString text = SymbolText(symbol.bytes).simplified();
  if (text.size() > ItemTextLength) text = text.left(ItemTextLength) + QStringLiteral("…");
  return FromUtf8(UiText::PickSymbolItem).arg(number).arg(name, text);
}

QStringList SymbolItems(const SymbolsInImage& found) {
  QStringList items;
  for (const FoundSymbol& symbol : found.symbols) items << SymbolItem(static_cast<int>(items.size()) + 1, symbol);
  return items;
}

// Where each symbol was on the picture; a symbol whose decoder tells no
// place shows none.
QList<QImage> Thumbnails(const QImage& picture, const SymbolsInImage& found) {
  QList<QImage> thumbnails;
  for (const FoundSymbol& symbol : found.symbols) {
    if (!symbol.box) {
      thumbnails << QImage();
      continue;
    }
    const SymbolBox box = ThumbnailBox(*symbol.box, picture.width(), picture.height());
    thumbnails << picture.copy(box.left, box.top, box.right - box.left, box.bottom - box.top);
  }
  return thumbnails;
}

class RealOpenDialogs : public OpenDialogs {
 public:
  QString AskImageFile(QWidget* parent) override {
    QFileDialog dialog(parent, FromUtf8(UiText::OpenImageTitle), {}, FromUtf8(UiText::OpenImageFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(dialog);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                     : QString();
  }
  int PickSymbol(QWidget* parent, const QString& label, const QStringList& items) override {
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, FromUtf8(UiText::PickSymbolTitle), label, items, 0, false, &ok);
    return ok ? static_cast<int>(items.indexOf(item)) : -1;
  }
  Choice AskNotHeld(QWidget* parent, const QString& question) override {
    const auto answer = QMessageBox::question(parent, FromUtf8(UiText::OpenImageTitle), question,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return answer == QMessageBox::Yes ? Choice::WholeText : answer == QMessageBox::No ? Choice::HeldFields : Choice::Cancel;
  }
  StyleChoice AskKeepStyle(QWidget* parent, const QString& question) override {
    const auto answer = QMessageBox::question(parent, FromUtf8(UiText::OpenImageTitle), question,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return answer == QMessageBox::Yes ? StyleChoice::Keep : answer == QMessageBox::No ? StyleChoice::Clear : StyleChoice::Cancel;
  }
  void ShowMessage(QWidget* parent, const QString& text) override {
    QMessageBox::warning(parent, FromUtf8(UiText::OpenImageTitle), text);
  }
  int PickShown(QWidget* parent, const QString& label, const QStringList& items, const QList<QImage>& thumbnails) override {
    return PickShownSymbol(parent, label, items, thumbnails);
  }
  bool AskRegion(QWidget* parent, const QString& text) override { return AskForRegion(parent, text); }
  TextAction AskTextAction(QWidget* parent, const QString& text, const TextActions& offered) override {
    return AskForTextAction(parent, text, offered);
  }
};

}  // namespace

int OpenDialogs::PickShown(QWidget* parent, const QString& label, const QStringList& items, const QList<QImage>&) {
  return PickSymbol(parent, label, items);
}

bool OpenDialogs::AskRegion(QWidget* parent, const QString& text) {
  ShowMessage(parent, text);
  return false;
}

OpenDialogs::TextAction OpenDialogs::AskTextAction(QWidget*, const QString&, const TextActions&) {
  return TextAction::EditAsText;
}

void OpenDialogs::OpenLink(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

OpenDialogs& DesktopOpenDialogs() {
  static RealOpenDialogs dialogs;
  return dialogs;
}

SymbolOpener::SymbolOpener(QWidget* window, QTabWidget* tabs, CTesselDlg* qrPage, CDialogDM* dmPage)
    : window_(window), tabs_(tabs), qrPage_(qrPage), dmPage_(dmPage),
      reading_(new CBackgroundRead(
          window, [this]() -> CSymbolPage* { return dmPage_->isVisibleTo(tabs_) ? static_cast<CSymbolPage*>(dmPage_) : qrPage_; },
          [this] { return static_cast<unsigned long>(qrPage_->Revision()) + dmPage_->Revision(); })) {}

void SymbolOpener::AskAndOpen() {
  const QString path = dialogs_->AskImageFile(window_);
  if (!path.isEmpty()) OpenFile(path);
}

void SymbolOpener::OpenFile(const QString& path) {
  reading_->Start({path, {}}, [this, path](const SymbolsInImage& found) { OpenFound(found, path); });
}

void SymbolOpener::OpenCapture(const QImage& capture, std::function<void()> readRegion) {
  reading_->Start({{}, capture}, [this, capture, readRegion = std::move(readRegion)](const SymbolsInImage& found) {
    if (OfferCapture(found, capture)) readRegion();
  });
}

bool SymbolOpener::OfferCapture(const SymbolsInImage& found, const QImage& capture) {
  const QString name = FromUtf8(UiText::ScreenName);
  const ScreenOffer offer = OfferFor(found, true);
  if (!offer.openAtOnce && !offer.pick) {
    if (!found.ImageRead()) return OpenFound(found, name), false;
    return dialogs_->AskRegion(window_, Fill(UiText::ScreenNoSymbol, name));
  }
  int chosen = 0;
  if (offer.pick) {
    const QString label = FromUtf8(UiText::PickSymbolLabel).arg(found.symbols.size());
    chosen = dialogs_->PickShown(window_, label, SymbolItems(found), Thumbnails(capture, found));
    if (chosen == OpenDialogs::PickRegion) return true;
    if (chosen < 0) return false;
  }
  if (OpenSymbol(found.symbols[static_cast<size_t>(chosen)])) Opened(HistoryKind::Screen, name);
  return false;
}

void SymbolOpener::Opened(HistoryKind kind, const QString& source) {
  if (opened_) opened_(kind, source);
}

void SymbolOpener::OpenPicture(const QImage& picture, const QString& name) {
  reading_->Start({{}, picture}, [this, name](const SymbolsInImage& found) { OpenFound(found, name); });
}

void SymbolOpener::OpenPicture(const QImage& picture) { OpenPicture(picture, FromUtf8(UiText::PastedImage)); }

void SymbolOpener::OpenFound(const SymbolsInImage& found, const QString& name) {
  if (!found.ImageRead())
    return dialogs_->ShowMessage(window_, FromUtf8(UiText::OpenFailed).arg(name, ReadProblemText(found.problem)));
  if (found.symbols.empty()) return dialogs_->ShowMessage(window_, Fill(UiText::OpenNoSymbol, name));
  int chosen = 0;
  if (found.symbols.size() > 1) {
    const QString label = FromUtf8(UiText::PickSymbolLabel).arg(found.symbols.size());
    if ((chosen = dialogs_->PickSymbol(window_, label, SymbolItems(found))) < 0) return;
  }
  if (OpenSymbol(found.symbols[static_cast<size_t>(chosen)])) Opened(HistoryKind::Opened, name);
}

bool SymbolOpener::OpenSymbol(const FoundSymbol& symbol) {
  if (symbol.symbology == Symbology::QrCode) return OpenQr(symbol);
  const QString text = SymbolText(symbol.bytes);
  if (text.isEmpty() && !symbol.bytes.empty()) {
    dialogs_->ShowMessage(window_, FromUtf8(UiText::OpenNotText).arg(symbol.bytes.size()));
    return false;
  }
  if (!KeepsStyle(dmPage_)) return false;
  tabs_->setCurrentWidget(tabs_->widget(1));
  dmPage_->OpenText(text);
  return true;
}

std::optional<bool> SymbolOpener::KeepsStyle(CSymbolPage* page) {
  if (page->Style().style.IsPlain()) return false;
  const OpenDialogs::StyleChoice choice = dialogs_->AskKeepStyle(window_, FromUtf8(UiText::OpenKeepStyle));
  if (choice == OpenDialogs::StyleChoice::Cancel) return std::nullopt;
  if (choice == OpenDialogs::StyleChoice::Keep) return true;
  page->SetStyle(PageStyle{});
  return false;
}

bool SymbolOpener::OpenQr(const FoundSymbol& symbol) {
  const int current = qrPage_->OperatorFormat();
  // The whole content as text, in a format the page shows.
  const auto asText = [&](int format) {
    const Recognised whole = RecogniseAsText(symbol.bytes, format);
    return qrPage_->CanShow(whole.page) ? whole : RecogniseAsOperatorText(symbol.bytes, current);
  };
  Recognised found = RecognisePayload(symbol.bytes, current);
  if (!qrPage_->CanShow(found.page)) found = asText(found.page.format);
  if (TookTextAction(found, symbol.bytes)) return false;
  if (found.kind != PayloadKind::Text && !HasForm(found)) found = asText(found.page.format);
  if (!found.Exact()) {
    const Recognised whole = asText(found.page.format);
    if (!whole.Exact()) {
      dialogs_->ShowMessage(window_, FromUtf8(UiText::OpenNotText).arg(symbol.bytes.size()));
      return false;
    }
    const QString question = FromUtf8(UiText::OpenNotHeld)
                                 .arg(TabCaptionOf(found), UnheldText(found.unheld), TabCaptionOf(whole));
    const OpenDialogs::Choice choice = dialogs_->AskNotHeld(window_, question);
    if (choice == OpenDialogs::Choice::Cancel) return false;
    if (choice == OpenDialogs::Choice::WholeText) found = whole;
  }
  const std::optional<bool> kept = KeepsStyle(qrPage_);
  if (!kept) return false;
  tabs_->setCurrentIndex(0);
  qrPage_->OpenContent(found.page, found.values, symbol.level);
  if (*kept && symbol.level && qrPage_->LevelInForce() != *symbol.level)
    dialogs_->ShowMessage(window_, FromUtf8(UiText::OpenStyleRaisedLevel)
                                       .arg(QChar(QrLevelLetter(*symbol.level)), QChar(QrLevelLetter(qrPage_->LevelInForce()))));
  return true;
}

bool SymbolOpener::TookTextAction(const Recognised& found, const std::string& bytes) {
  const QString text = SymbolText(bytes);
  const TextActions offered = ActionsFor(found, text.toStdString());
  if (!offered.copyText) return false;
  switch (dialogs_->AskTextAction(window_, text, offered)) {
    case OpenDialogs::TextAction::OpenLink: dialogs_->OpenLink(text); return true;
    case OpenDialogs::TextAction::CopyText: QGuiApplication::clipboard()->setText(text); return true;
    case OpenDialogs::TextAction::Cancel: return true;
    case OpenDialogs::TextAction::EditAsText: return false;
  }
  return false;
}

}  // namespace quillet

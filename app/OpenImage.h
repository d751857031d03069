// Opening a symbol from an image: a file chosen, dropped or pasted is read
// with the decoders off the window's thread, and what its symbol holds fills
// the page it came from.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "app/BackgroundRead.h"

#include "model/History.h"
#include "model/ScreenRead.h"

class QImage;
class QTabWidget;
class QWidget;

namespace quillet {

class CDialogDM;
class CSymbolPage;
class CTesselDlg;
struct FoundSymbol;
struct SymbolsInImage;


// The questions opening asks, behind an interface so that tests answer
// them without a modal dialog.
class OpenDialogs {
 public:
  enum class Choice { WholeText, HeldFields, Cancel };
  enum class StyleChoice { Keep, Clear, Cancel };
  virtual ~OpenDialogs() = default;
  // Empty when cancelled.
  virtual QString AskImageFile(QWidget* parent) = 0;
  // The item picked from several symbols, or -1.
  virtual int PickSymbol(QWidget* parent, const QString& label, const QStringList& items) = 0;
  // Fields that cannot hold everything: the text tab with all of it, the
  // fields with what they hold, or nothing.
  virtual Choice AskNotHeld(QWidget* parent, const QString& question) = 0;
  // The page has a style: the opened symbol keeps it, is shown plain, or is
  // not opened.
  // Unasked, the style stays as it did before the question was asked.
  virtual StyleChoice AskKeepStyle(QWidget*, const QString&) { return StyleChoice::Keep; }
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;

  // From the screen: what PickShown returns when the user asks to read a region instead.
  static constexpr int PickRegion = -2;
  // The list of several symbols with where each was; the region offered.
  virtual int PickShown(QWidget* parent, const QString& label, const QStringList& items, const QList<QImage>& thumbnails);
  // Nothing found on the screen: true when the user asks to read a region.
  virtual bool AskRegion(QWidget* parent, const QString& text);
  enum class TextAction { OpenLink, CopyText, EditAsText, Cancel };
  // Content the pages have no form for, with the actions that apply.
  virtual TextAction AskTextAction(QWidget* parent, const QString& text, const TextActions& offered);
  // The desktop's default browser.
  virtual void OpenLink(const QString& address);
};

OpenDialogs& DesktopOpenDialogs();

class SymbolOpener {
 public:
  SymbolOpener(QWidget* window, QTabWidget* tabs, CTesselDlg* qrPage, CDialogDM* dmPage);

  void SetDialogs(OpenDialogs& dialogs) { dialogs_ = &dialogs; }
  OpenDialogs& Dialogs() const { return *dialogs_; }
  // Told the file (or "粘贴的图片", or the screen) whose symbol filled its page.
  void SetOpened(std::function<void(HistoryKind kind, const QString& source)> opened) { opened_ = std::move(opened); }
  void AskAndOpen();
  void OpenFile(const QString& path);
  // A picture in memory: pasted, or captured from the screen; `name` is
  // what messages and "最近" call it.
  void OpenPicture(const QImage& picture, const QString& name);
  void OpenPicture(const QImage& picture);
  // The read under way, which Esc also stops.
  CBackgroundRead& Reading() { return *reading_; }
  // A picture of the screen, or of a region of it, read as any other;
  // `readRegion` runs when the user asks to read a region instead.
  void OpenCapture(const QImage& capture, std::function<void()> readRegion);

 private:
  void OpenFound(const SymbolsInImage& found, const QString& name);
  // True when the symbol filled its page.
  bool OpenSymbol(const FoundSymbol& symbol);
  bool OpenQr(const FoundSymbol& symbol);
  // Asks whether the symbol opened into `page` keeps the page's style, and
  // clears it when not: true when kept, false when there is none (any more),
  // nullopt when the opening is cancelled.
  std::optional<bool> KeepsStyle(CSymbolPage* page);
  // Content without a form: the user's action taken; false to open it as text.
  bool TookTextAction(const Recognised& found, const std::string& bytes);
  void Opened(HistoryKind kind, const QString& source);
  // What a capture offers: true when the user asks for a region.
  bool OfferCapture(const SymbolsInImage& found, const QImage& capture);

  QWidget* window_;
  QTabWidget* tabs_;
  CTesselDlg* qrPage_;
  CDialogDM* dmPage_;
  OpenDialogs* dialogs_ = &DesktopOpenDialogs();
  std::function<void(HistoryKind, const QString&)> opened_;
  CBackgroundRead* reading_;
};

}  // namespace quillet

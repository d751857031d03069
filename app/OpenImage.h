// Opening a symbol from an image: a file chosen, dropped or pasted is read
// with the decoders off the window's thread, and what its symbol holds fills
// the page it came from.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "app/BackgroundRead.h"

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
  virtual StyleChoice AskKeepStyle(QWidget* parent, const QString& question) = 0;
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
};

OpenDialogs& DesktopOpenDialogs();

class SymbolOpener {
 public:
  SymbolOpener(QWidget* window, QTabWidget* tabs, CTesselDlg* qrPage, CDialogDM* dmPage);

  void SetDialogs(OpenDialogs& dialogs) { dialogs_ = &dialogs; }
  // Told the file (or "粘贴的图片") whose symbol filled its page.
  void SetOpened(std::function<void(const QString& source)> opened) { opened_ = std::move(opened); }
  void AskAndOpen();
  void OpenFile(const QString& path);
  // A picture in memory: pasted, or captured from the screen; `name` is
  // what messages and "最近" call it.
  void OpenPicture(const QImage& picture, const QString& name);
  void OpenPicture(const QImage& picture);
  // The read under way, which Esc also stops.
  CBackgroundRead& Reading() { return *reading_; }

 private:
  void OpenFound(const SymbolsInImage& found, const QString& name);
  // True when the symbol filled its page.
  bool OpenSymbol(const FoundSymbol& symbol);
  bool OpenQr(const FoundSymbol& symbol);
  // Asks whether the symbol opened into `page` keeps the page's style, and
  // clears it when not: true when kept, false when there is none (any more),
  // nullopt when the opening is cancelled.
  std::optional<bool> KeepsStyle(CSymbolPage* page);

  QWidget* window_;
  QTabWidget* tabs_;
  CTesselDlg* qrPage_;
  CDialogDM* dmPage_;
  OpenDialogs* dialogs_ = &DesktopOpenDialogs();
  std::function<void(const QString&)> opened_;
  CBackgroundRead* reading_;
};

}  // namespace quillet

// The main window: the "QR码" and "DM码" tabs over the two symbol pages, and
// the About entry in the tab bar's corner.
#pragma once

#include <QWidget>
#include <memory>

#include "gui/DialogUnits.h"
#include "model/History.h"

class QPushButton;
class QTabWidget;

namespace quillet {

class CDialogDM;
class OpenDialogs;
class ScreenReading;
class SymbolOpener;
class CTesselDlg;
class WindowHistory;

class CDialogMain : public QWidget {
  Q_OBJECT
 public:
  CDialogMain();
  ~CDialogMain() override;

  CTesselDlg* QrPage() const { return qrPage_; }
  CDialogDM* DmPage() const { return dmPage_; }
  QTabWidget* Tabs() const { return tabs_; }
  QPushButton* AboutButton() const { return aboutButton_; }
  QPushButton* BatchButton() const { return batchButton_; }
  QPushButton* OpenButton() const { return openButton_; }
  QPushButton* ScreenButton() const { return screenButton_; }
  // Tests give it their own capture and region.
  ScreenReading& Screen() const { return *screen_; }
  QPushButton* HistoryButton() const { return historyButton_; }
  // "最近": what the window made and read.
  WindowHistory& History() const { return *history_; }
  // Tests answer the questions of opening an image themselves.
  void SetOpenDialogs(OpenDialogs& dialogs);
  // Opening images: a read under way, and a picture (a screen capture) to read.
  SymbolOpener& Opener() const { return *opener_; }
  // The template's size, grown where this platform's controls need more.
  QSize NaturalSize() const { return naturalSize_; }

 public slots:
  void ShowAbout();
  // "批量生成" for the page shown.
  void ShowBatch();
  // "打开图片...": a symbol from an image file into its page.
  void OpenImage();
  void OpenImageFile(const QString& path);
  // The clipboard's picture, when it holds one; false when it does not.
  bool PasteImage();
  // "从屏幕识别": the symbols on the screen, offered as an opened image's.
  void ReadScreen();
  // "最近": the history dialog, window-modal; a click on an entry opens it.
  void ShowHistory();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitScreen();
  void WatchDropsAndPastes();
  void RecordHistory();
  // The page shown, as an entry of `kind`.
  void RecordShown(HistoryKind kind, const QString& place);

  DialogUnits units_;
  QTabWidget* tabs_;
  CDialogDM* dmPage_;
  CTesselDlg* qrPage_;
  QPushButton* aboutButton_;
  QPushButton* batchButton_;
  QPushButton* openButton_;
  QPushButton* screenButton_;
  QPushButton* historyButton_;
  std::unique_ptr<WindowHistory> history_;
  std::unique_ptr<SymbolOpener> opener_;
  std::unique_ptr<ScreenReading> screen_;
  QSize naturalSize_;
};

}  // namespace quillet

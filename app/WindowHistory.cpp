#include "app/WindowHistory.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDateTime>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabWidget>

#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/HistoryStore.h"
#include "app/SymbolImage.h"
#include "app/TesselDlg.h"
#include "gui/TextBytes.h"
#include "res/DialogLayouts.h"
#include "verify/LogoFile.h"

namespace quillet {

namespace {

constexpr int ThumbnailSide = 96;  // pixels, at most

std::string ThumbnailOf(const CSymbolPage& page) {
  if (!page.HasSymbol()) return {};
  const ModuleMatrix& symbol = page.Symbol();
  const int modules = std::max(symbol.Columns(), symbol.Rows()) + 4;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  RenderSymbol(symbol, std::max(1, ThumbnailSide / modules), 2).save(&buffer, "PNG");
  return png.toStdString();
}

HistoryEntry EntryOfPage(const CSymbolPage& page, PageChoice choice, HistoryKind kind, const QString& place) {
  HistoryEntry entry;
  entry.kind = kind;
  entry.choice = std::move(choice);
  entry.choice.style.style.logo.reset();  // loaded again from its file
  entry.firstField = page.FileNameHint().toStdString();
  entry.place = place.toStdString();
  entry.thumbnailPng = ThumbnailOf(page);
  return entry;
}

// The slider's scale, the ECI box and the style: what both pages share.
void OpenLook(CSymbolPage& page, const HistoryEntry& entry) {
  page.findChild<QSlider*>(QString::number(ControlId::Zoom))->setValue(entry.choice.scale);
  page.findChild<QCheckBox*>(QString::number(ControlId::Eci))->setChecked(entry.choice.symbol.eci.value_or(false));
  PageStyle style = entry.choice.style;
  if (!style.logoFile.empty()) {
    const LogoFileResult loaded = LoadLogoFile(style.logoFile);
    if (loaded.Ok()) style.style.logo = loaded.logo;
    else style.logoFile.clear(), style.style.logoShare.reset();
  }
  page.SetStyle(std::move(style));
}

}  // namespace

WindowHistory::WindowHistory() = default;
WindowHistory::~WindowHistory() = default;

void WindowHistory::Keep(std::unique_ptr<HistoryStore> store) {
  store_ = std::move(store);
  list_.Load(store_->Read());
}

void WindowHistory::Record(HistoryEntry entry) {
  if (!list_.On()) return;
  entry.time = QDateTime::currentSecsSinceEpoch();
  const std::optional<int64_t> id = store_ ? store_->Add(entry) : std::nullopt;
  // One the file could not take (a full disk) is still listed for this run.
  entry.id = id ? *id : --unstored_;
  list_.Add(std::move(entry));
}

void WindowHistory::Remove(int64_t id) {
  if (store_ && id > 0) store_->Remove(id);
  list_.Remove(id);
}

void WindowHistory::Clear() {
  if (store_) store_->Clear();
  list_.Clear();
}

HistoryEntry EntryOf(const CTesselDlg& page, HistoryKind kind, const QString& place) {
  HistoryEntry entry = EntryOfPage(page, page.Choice(), kind, place);
  entry.fields = page.Filled();
  return entry;
}

HistoryEntry EntryOf(const CDialogDM& page, HistoryKind kind, const QString& place) {
  HistoryEntry entry = EntryOfPage(page, page.Choice(), kind, place);
  const QString text = page.TextBox()->toPlainText();
  if (!text.isEmpty()) entry.fields = {{0, text.toStdString()}};
  return entry;
}

void OpenEntry(CDialogMain& window, const HistoryEntry& entry) {
  const SymbolSettings& settings = entry.choice.symbol;
  if (entry.symbology() == Symbology::QrCode) {
    CTesselDlg& page = *window.QrPage();
    window.Tabs()->setCurrentIndex(0);
    FieldValueArray values{};
    for (const auto& [slot, value] : entry.fields) StoreFieldValue(values, static_cast<unsigned>(slot), value);
    page.OpenContent(entry.choice.contentPage, values, settings.level);
    page.ChooseVersion(settings.version);
    OpenLook(page, entry);
    return;
  }
  CDialogDM& page = *window.DmPage();
  window.Tabs()->setCurrentIndex(1);
  page.RestoreSize(settings.dmSize);
  page.OpenText(entry.fields.empty() ? QString() : QString::fromStdString(entry.fields[0].second));
  OpenLook(page, entry);
}

}  // namespace quillet

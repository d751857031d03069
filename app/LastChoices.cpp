#include "app/LastChoices.h"

#include <QSettings>

#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/TesselDlg.h"
#include "app/WindowHistory.h"
#include "model/StylePresets.h"

namespace quillet {

namespace {

const QString FormatKey = QStringLiteral("qr/format");
const QString TabKey = QStringLiteral("qr/tab");
const QString LevelKey = QStringLiteral("qr/level");  // its letter, as the lists and the command line name it
const QString LevelChosenKey = QStringLiteral("qr/levelChosen");
const QString HistoryOnKey = QStringLiteral("history/on");
const QString DmSizeKey = QStringLiteral("dm/size");  // the position in the size list

// The stored number, or `otherwise` when it is missing or not a number.
int Number(const QSettings& settings, const QString& key, int otherwise) {
  bool ok = false;
  const int value = settings.value(key).toInt(&ok);
  return ok ? value : otherwise;
}

// A page's style under "qr/style/" or "dm/style/": its colours and shapes, not its logo.
QString StyleGroup(const CSymbolPage& page) {
  return page.PageSymbology() == Symbology::QrCode ? QStringLiteral("qr/style/") : QStringLiteral("dm/style/");
}

void RestoreStyle(CSymbolPage& page, const QSettings& settings) {
  const QString group = StyleGroup(page);
  const auto lookup = [&](std::string_view key) -> std::optional<std::string> {
    const QString name = group + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (!settings.contains(name)) return std::nullopt;
    return settings.value(name).toString().toStdString();
  };
  PageStyle style;
  style.style = StyleFromValues(lookup, page.PageSymbology());
  if (!style.style.IsPlain()) page.SetStyle(std::move(style));
}

void SaveStyle(const CSymbolPage& page, QSettings& settings) {
  for (const auto& [key, value] : StyleValues(page.Style().style))
    settings.setValue(StyleGroup(page) + QString::fromStdString(key), QString::fromStdString(value));
}

}  // namespace

std::unique_ptr<QSettings> UserSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillet"),
                                     QStringLiteral("quillet"));
}

void RestoreLastChoices(CDialogMain& window, const QSettings& settings) {
  QrPageChoices last;
  last.format = Number(settings, FormatKey, last.format);
  last.tab = Number(settings, TabKey, last.tab);
  if (settings.contains(LevelKey)) {
    const std::optional<QrLevel> level = ParseQrLevel(settings.value(LevelKey).toString().toStdString());
    last.level = level ? QrLevelPosition(*level) : -1;
  }
  last.levelChosen = settings.value(LevelChosenKey).toBool();
  window.QrPage()->RestoreChoices(last);
  window.DmPage()->RestoreSize(Number(settings, DmSizeKey, 0));
  RestoreStyle(*window.QrPage(), settings);
  RestoreStyle(*window.DmPage(), settings);
  window.History().SetOn(settings.value(HistoryOnKey, true).toBool());
}

void SaveLastChoices(const CDialogMain& window, QSettings& settings) {
  const QrPageChoices now = window.QrPage()->Choices();
  settings.setValue(FormatKey, now.format);
  settings.setValue(TabKey, now.tab);
  settings.setValue(LevelKey, QString(QLatin1Char(QrLevelLetter(*QrLevelAt(now.level)))));
  settings.setValue(LevelChosenKey, now.levelChosen);
  settings.setValue(DmSizeKey, window.DmPage()->ChosenSize());
  SaveStyle(*window.QrPage(), settings);
  SaveStyle(*window.DmPage(), settings);
  settings.setValue(HistoryOnKey, window.History().List().On());
  settings.sync();
}

}  // namespace quillet

#include "app/HistoryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

#include "image/SymbolShapes.h"

namespace quillet {

namespace {

const QString FileName = QStringLiteral("history.sqlite");

// Every column an entry row has, in the order Row reads them.
const QString EntryColumns = QStringLiteral(
    "id, kind, time, symbology, format, tab, level, version, dmSize, eci, scale, foreground, background, "
    "transparent, logoShare, logoFile, allowLow, allowInverted, firstField, place, thumbnail, moduleShape, eyeShape, "
    "eyeColour");

const char* const Schema[] = {
    "CREATE TABLE IF NOT EXISTS entries(id INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER, time INTEGER, "
    "symbology INTEGER, format INTEGER, tab INTEGER, level INTEGER, version INTEGER, dmSize INTEGER, eci INTEGER, "
    "scale INTEGER, foreground TEXT, background TEXT, transparent INTEGER, logoShare REAL, logoFile TEXT, "
    "allowLow INTEGER, allowInverted INTEGER, firstField TEXT, place TEXT, thumbnail BLOB, moduleShape INTEGER, "
    "eyeShape INTEGER, eyeColour TEXT)",
    "CREATE TABLE IF NOT EXISTS fields(entry INTEGER, slot INTEGER, value TEXT)",
    "CREATE INDEX IF NOT EXISTS fieldsOfEntry ON fields(entry)",
};

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string Utf8(const QVariant& value) { return value.toString().toStdString(); }

// A whole number in [low, high]; SQLite keeps whatever type a row was given.
std::optional<int64_t> Whole(const QVariant& value, int64_t low, int64_t high) {
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  if (!ok || number < low || number > high) return std::nullopt;
  return number;
}

// A damaged or hostile file may hold a text of any length in any column:
// rows whose texts are longer than an entry ever writes are not read at all.
QString BoundedColumns() {
  const QString colour = QString::number(ColourTextLength), text = QString::number(MaxHistoryTextBytes);
  const std::pair<const char*, QString> bounds[] = {
      {"thumbnail", QString::number(MaxHistoryThumbnailBytes)},
      {"firstField", text}, {"place", text}, {"logoFile", text},
      {"foreground", colour}, {"background", colour}, {"eyeColour", colour},
  };
  QStringList conditions;
  for (const auto& [column, most] : bounds)
    conditions << QStringLiteral("coalesce(length(CAST(%1 AS BLOB)), 0) <= %2").arg(QLatin1String(column), most);
  return conditions.join(QStringLiteral(" AND "));
}

std::optional<HistoryEntry> Row(const QSqlQuery& row) {
  int column = 0;
  const auto next = [&] { return row.value(column++); };
  HistoryEntry entry;
  entry.id = next().toLongLong();
  const auto kind = Whole(next(), 0, HistoryKindCount - 1);
  const auto time = Whole(next(), 0, INT64_MAX);
  const auto symbology = Whole(next(), 0, 1);
  const auto format = Whole(next(), 0, 99), tab = Whole(next(), 0, 99);
  const auto level = Whole(next(), 0, 3), version = Whole(next(), 0, 99), dmSize = Whole(next(), -2, 99);
  const auto eci = Whole(next(), 0, 1), scale = Whole(next(), 0, 99);
  const auto foreground = ParseColour(Utf8(next())), background = ParseColour(Utf8(next()));
  const auto transparent = Whole(next(), 0, 1);
  if (!kind || !time || !symbology || !format || !tab || !level || !version || !dmSize || !eci || !scale ||
      !foreground || !background || !transparent)
    return std::nullopt;
  entry.kind = static_cast<HistoryKind>(*kind);
  entry.time = *time;
  SymbolSettings& settings = entry.choice.symbol;
  settings.symbology = static_cast<Symbology>(*symbology);
  entry.choice.contentPage = {static_cast<int>(*format), static_cast<int>(*tab)};
  settings.level = *QrLevelAt(static_cast<int>(*level));
  settings.version = static_cast<int>(*version);
  settings.dmSize = static_cast<int>(*dmSize);
  settings.eci = *eci != 0;
  entry.choice.scale = static_cast<int>(*scale);
  PageStyle& style = entry.choice.style;
  style.style.foreground = *foreground;
  style.style.background = *background;
  style.style.transparentBackground = *transparent != 0;
  const QVariant share = next();
  if (!share.isNull()) style.style.logoShare = share.toDouble();
  style.logoFile = Utf8(next());
  style.allowed = {next().toBool(), next().toBool()};
  entry.firstField = Utf8(next());
  entry.place = Utf8(next());
  entry.thumbnailPng = next().toByteArray().toStdString();
  const auto moduleShape = Whole(next(), 0, static_cast<int64_t>(ModuleShapes().size()) - 1);
  const auto eyeShape = Whole(next(), 0, static_cast<int64_t>(EyeShapes().size()) - 1);
  const QVariant eyeColour = next();
  if (!moduleShape || !eyeShape) return std::nullopt;
  style.style.moduleShape = ModuleShapes()[static_cast<size_t>(*moduleShape)].shape;
  style.style.eyeShape = EyeShapes()[static_cast<size_t>(*eyeShape)].shape;
  if (!eyeColour.isNull()) {
    style.style.eyeColour = ParseColour(Utf8(eyeColour));
    if (!style.style.eyeColour) return std::nullopt;
  }
  return entry;
}

// The fields of entry `id`; nullopt when one is too long to take.
std::optional<FieldValues> Fields(const QSqlDatabase& db, int64_t id) {
  QSqlQuery query(db);
  query.prepare(QStringLiteral("SELECT slot, CASE WHEN length(CAST(value AS BLOB)) <= :most THEN value END "
                               "FROM fields WHERE entry = :id ORDER BY slot LIMIT :count"));
  query.bindValue(QStringLiteral(":most"), static_cast<qlonglong>(MaxHistoryTextBytes));
  query.bindValue(QStringLiteral(":id"), static_cast<qlonglong>(id));
  query.bindValue(QStringLiteral(":count"), FieldSlotCount + 1);
  if (!query.exec()) return std::nullopt;
  FieldValues fields;
  while (query.next()) {
    const auto slot = Whole(query.value(0), 0, FieldSlotCount);
    if (!slot || query.value(1).isNull()) return std::nullopt;
    fields.emplace_back(static_cast<int>(*slot), Utf8(query.value(1)));
  }
  return fields;
}

bool Exec(const QSqlDatabase& db, const QString& statement) {
  QSqlQuery query(db);
  return query.exec(statement);
}

// A shape is kept as its row in the names table, which only grows at its end.
template <typename Rows, typename Shape>
int ShapePosition(Rows rows, Shape shape) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].shape == shape) return static_cast<int>(i);
  return 0;
}

void BindEntry(QSqlQuery& query, const HistoryEntry& entry) {
  const PageChoice& choice = entry.choice;
  const SymbolStyle& style = choice.style.style;
  const QVariantList values = {
      static_cast<int>(entry.kind), static_cast<qlonglong>(entry.time), static_cast<int>(choice.symbol.symbology),
      choice.contentPage.format, choice.contentPage.tab, QrLevelPosition(choice.symbol.level), choice.symbol.version,
      choice.symbol.dmSize, EciInForce(choice.symbol, choice.contentPage.format) ? 1 : 0, choice.scale,
      Utf8(FormatColour(style.foreground)),
      Utf8(FormatColour(style.background)), style.transparentBackground ? 1 : 0,
      style.logoShare ? QVariant(*style.logoShare) : QVariant(QMetaType(QMetaType::Double)),
      Utf8(choice.style.logoFile), choice.style.allowed.lowContrast ? 1 : 0, choice.style.allowed.inverted ? 1 : 0,
      Utf8(entry.firstField), Utf8(entry.place),
      QByteArray(entry.thumbnailPng.data(), static_cast<qsizetype>(entry.thumbnailPng.size())),
      ShapePosition(ModuleShapes(), style.moduleShape), ShapePosition(EyeShapes(), style.eyeShape),
      style.eyeColour ? QVariant(Utf8(FormatColour(*style.eyeColour))) : QVariant(QMetaType(QMetaType::QString))};
  for (const QVariant& value : values) query.addBindValue(value);
}

// `change` as one transaction: all of it, or on any failure none of it.
template <typename Change>
bool Transaction(QSqlDatabase db, Change change) {
  if (!db.transaction()) return false;
  if (change(db) && db.commit()) return true;
  db.rollback();
  return false;
}

bool InsertFields(const QSqlDatabase& db, int64_t id, const FieldValues& fields) {
  QSqlQuery insert(db);
  insert.prepare(QStringLiteral("INSERT INTO fields(entry, slot, value) VALUES(?, ?, ?)"));
  for (const auto& [slot, value] : fields) {
    insert.addBindValue(static_cast<qlonglong>(id));
    insert.addBindValue(slot);
    insert.addBindValue(Utf8(value));
    if (!insert.exec()) return false;
  }
  return true;
}

// The newest HistoryCapacity entries stay, with their fields.
bool DropPastCap(const QSqlDatabase& db) {
  const QString kept = QStringLiteral("SELECT id FROM entries ORDER BY time DESC, id DESC LIMIT %1").arg(HistoryCapacity);
  return Exec(db, QStringLiteral("DELETE FROM entries WHERE id NOT IN (%1)").arg(kept)) &&
         Exec(db, QStringLiteral("DELETE FROM fields WHERE entry NOT IN (SELECT id FROM entries)"));
}

std::atomic<int> connections{0};

}  // namespace

QString HistoryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quillet");
}

HistoryStore::HistoryStore(const QString& folder)
    : folder_(folder), connection_(QStringLiteral("history-%1").arg(connections++)) {
  if (!QDir().mkpath(folder_)) return;
  usable_ = Open() && Healthy();
  if (usable_ || !QFile::exists(FilePath())) return;
  PutAside();
  usable_ = Open() && Healthy();
}

HistoryStore::~HistoryStore() { Close(); }

QString HistoryStore::FilePath() const { return folder_ + QLatin1Char('/') + FileName; }

bool HistoryStore::Open() {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(FilePath());
  if (!db.open()) return false;
  // Every commit reaches the disk before the next change begins.
  Exec(db, QStringLiteral("PRAGMA synchronous = FULL"));
  return true;
}

// The file is a database that passes SQLite's own check and holds (or now
// begins) the tables with every column this program reads.
bool HistoryStore::Healthy() {
  const QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery check(db);
  if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next() ||
      check.value(0).toString() != QStringLiteral("ok"))
    return false;
  // Begun in a transaction, so that another program's file is set aside as it was.
  return Transaction(db, [](const QSqlDatabase& db) {
    for (const char* statement : Schema)
      if (!Exec(db, QString::fromLatin1(statement))) return false;
    return Exec(db, QStringLiteral("SELECT %1 FROM entries LIMIT 0").arg(EntryColumns)) &&
           Exec(db, QStringLiteral("SELECT entry, slot, value FROM fields LIMIT 0"));
  });
}

// history.sqlite.damaged-20260101-120000, kept for whoever wants to look into it.
void HistoryStore::PutAside() {
  Close();
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString aside = FilePath() + QStringLiteral(".damaged-") + stamp;
  for (int n = 2; QFile::exists(aside); ++n) aside = FilePath() + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
  if (!QFile::rename(FilePath(), aside)) return;
  setAside_ = aside;
  // A journal left beside it belongs to the damaged file, not the new one.
  const QString journal = FilePath() + QStringLiteral("-journal");
  if (QFile::exists(journal)) QFile::rename(journal, aside + QStringLiteral("-journal"));
}

void HistoryStore::Close() {
  if (!QSqlDatabase::contains(connection_)) return;
  QSqlDatabase::database(connection_, false).close();
  QSqlDatabase::removeDatabase(connection_);
}

std::vector<HistoryEntry> HistoryStore::Read() const {
  std::vector<HistoryEntry> entries;
  if (!usable_) return entries;
  const QSqlDatabase db = QSqlDatabase::database(connection_, false);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 FROM entries WHERE %2 ORDER BY time DESC, id DESC LIMIT %3")
                    .arg(EntryColumns, BoundedColumns())
                    .arg(HistoryCapacity));
  if (!query.exec()) return entries;
  while (query.next()) {
    std::optional<HistoryEntry> entry = Row(query);
    if (!entry) continue;
    std::optional<FieldValues> fields = Fields(db, entry->id);
    if (!fields) continue;
    entry->fields = std::move(*fields);
    entries.push_back(std::move(*entry));
  }
  return entries;
}

std::optional<int64_t> HistoryStore::Add(const HistoryEntry& entry) {
  int64_t id = 0;
  const auto add = [&](const QSqlDatabase& db) {
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO entries(%1) VALUES(NULL%2)")
                       .arg(EntryColumns, QStringLiteral(", ?").repeated(EntryColumns.count(QLatin1Char(',')))));
    BindEntry(insert, entry);
    if (!insert.exec()) return false;
    id = insert.lastInsertId().toLongLong();
    return InsertFields(db, id, entry.fields) && DropPastCap(db);
  };
  if (!usable_ || !Transaction(QSqlDatabase::database(connection_, false), add)) return std::nullopt;
  return id;
}

bool HistoryStore::Remove(int64_t id) {
  const QString number = QString::number(id);
  return usable_ && Transaction(QSqlDatabase::database(connection_, false), [&](const QSqlDatabase& db) {
           return Exec(db, QStringLiteral("DELETE FROM fields WHERE entry = %1").arg(number)) &&
                  Exec(db, QStringLiteral("DELETE FROM entries WHERE id = %1").arg(number));
         });
}

bool HistoryStore::Clear() {
  return usable_ && Transaction(QSqlDatabase::database(connection_, false), [](const QSqlDatabase& db) {
           return Exec(db, QStringLiteral("DELETE FROM fields")) && Exec(db, QStringLiteral("DELETE FROM entries"));
         });
}

}  // namespace quillet

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
#include <span>

#include "image/SymbolFrame.h"
#include "image/SymbolShapes.h"

namespace quillet {

namespace {

const QString FileName = QStringLiteral("history.sqlite");

// What PRAGMA user_version says of a file this program wrote: 1 added the
// shapes, 2 the gradient, the frame and the logo's pad. A file of an older
// version gets the columns it lacks, old rows taking their defaults.
constexpr int SchemaVersion = 2;

struct Column {
  const char* name;
  const char* declaration;
  int since;  // the schema version that added it
};

// Every column an entry row has, in the order Row reads them. A column
// added later needs a default that reads as the plain style.
constexpr Column Columns[] = {
    {"id", "INTEGER PRIMARY KEY AUTOINCREMENT", 0}, {"kind", "INTEGER", 0}, {"time", "INTEGER", 0},
    {"symbology", "INTEGER", 0}, {"format", "INTEGER", 0}, {"tab", "INTEGER", 0}, {"level", "INTEGER", 0},
    {"version", "INTEGER", 0}, {"dmSize", "INTEGER", 0}, {"eci", "INTEGER", 0}, {"scale", "INTEGER", 0},
    {"foreground", "TEXT", 0}, {"background", "TEXT", 0}, {"transparent", "INTEGER", 0}, {"logoShare", "REAL", 0},
    {"logoFile", "TEXT", 0}, {"allowLow", "INTEGER", 0}, {"allowInverted", "INTEGER", 0}, {"firstField", "TEXT", 0},
    {"place", "TEXT", 0}, {"thumbnail", "BLOB", 0}, {"moduleShape", "INTEGER DEFAULT 0", 1},
    {"eyeShape", "INTEGER DEFAULT 0", 1}, {"eyeColour", "TEXT", 1}, {"gradient", "INTEGER DEFAULT 0", 2},
    {"foreground2", "TEXT", 2}, {"frameText", "TEXT DEFAULT ''", 2}, {"framePosition", "INTEGER DEFAULT 0", 2},
    {"frameColour", "TEXT", 2}, {"logoPad", "INTEGER DEFAULT 0", 2},
};

QString ColumnList(bool declared) {
  QStringList columns;
  for (const Column& column : Columns)
    columns << (declared ? QStringLiteral("%1 %2").arg(QLatin1String(column.name), QLatin1String(column.declaration))
                         : QLatin1String(column.name));
  return columns.join(QStringLiteral(", "));
}

const QString EntryColumns = ColumnList(false);

const QString Schema[] = {
    QStringLiteral("CREATE TABLE IF NOT EXISTS entries(%1)").arg(ColumnList(true)),
    QStringLiteral("CREATE TABLE IF NOT EXISTS fields(entry INTEGER, slot INTEGER, value TEXT)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS fieldsOfEntry ON fields(entry)"),
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
      {"frameText", QString::number(MaxCaptionBytes)},
      {"foreground", colour}, {"background", colour}, {"eyeColour", colour},
      {"foreground2", colour}, {"frameColour", colour},
  };
  QStringList conditions;
  for (const auto& [column, most] : bounds)
    conditions << QStringLiteral("coalesce(length(CAST(%1 AS BLOB)), 0) <= %2").arg(QLatin1String(column), most);
  return conditions.join(QStringLiteral(" AND "));
}

// How an enum is kept: its row in the names table, which only grows at its end.
template <typename Row, typename Value>
std::optional<Value> AtPosition(std::span<const Row> rows, Value Row::*member, const QVariant& stored) {
  const auto at = Whole(stored, 0, static_cast<int64_t>(rows.size()) - 1);
  if (!at) return std::nullopt;
  return rows[static_cast<size_t>(*at)].*member;
}

template <typename Row, typename Value>
int Position(std::span<const Row> rows, Value Row::*member, Value value) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].*member == value) return static_cast<int>(i);
  return 0;
}

// NULL for unset; false for a text that is no colour.
bool OptionalColour(const QVariant& stored, std::optional<Rgb>& colour) {
  if (stored.isNull()) return true;
  colour = ParseColour(Utf8(stored));
  return colour.has_value();
}

QVariant OptionalColourValue(const std::optional<Rgb>& colour) {
  return colour ? QVariant(Utf8(FormatColour(*colour))) : QVariant(QMetaType(QMetaType::QString));
}

// The style's columns from moduleShape on; false for a value out of range.
template <typename Next>
bool ReadLook(Next next, SymbolStyle& style) {
  const auto moduleShape = AtPosition(ModuleShapes(), &ModuleShapeRow::shape, next());
  const auto eyeShape = AtPosition(EyeShapes(), &EyeShapeRow::shape, next());
  const bool eyeColour = OptionalColour(next(), style.eyeColour);
  const auto gradient = AtPosition(Gradients(), &GradientRow::gradient, next());
  const bool foreground2 = OptionalColour(next(), style.foreground2);
  style.frameText = Utf8(next());
  const auto framePosition = AtPosition(FramePositions(), &FramePositionRow::position, next());
  const bool frameColour = OptionalColour(next(), style.frameColour);
  const auto logoPad = AtPosition(LogoPads(), &LogoPadRow::shape, next());
  if (!moduleShape || !eyeShape || !eyeColour || !gradient || !foreground2 || !framePosition || !frameColour ||
      !logoPad)
    return false;
  style.moduleShape = *moduleShape;
  style.eyeShape = *eyeShape;
  style.gradient = *gradient;
  style.framePosition = *framePosition;
  style.logoPad = *logoPad;
  return true;
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
  if (!ReadLook(next, style.style)) return std::nullopt;
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
      Position(ModuleShapes(), &ModuleShapeRow::shape, style.moduleShape),
      Position(EyeShapes(), &EyeShapeRow::shape, style.eyeShape), OptionalColourValue(style.eyeColour),
      Position(Gradients(), &GradientRow::gradient, style.gradient), OptionalColourValue(style.foreground2),
      Utf8(style.frameText), Position(FramePositions(), &FramePositionRow::position, style.framePosition),
      OptionalColourValue(style.frameColour), Position(LogoPads(), &LogoPadRow::shape, style.logoPad)};
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

// The columns an older file lacks, and its version raised to this one's. A
// newer program's file is left as it is: it holds every column read here.
bool Migrate(const QSqlDatabase& db) {
  QSqlQuery version(db);
  if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) return false;
  const int was = version.value(0).toInt();
  if (was >= SchemaVersion) return true;
  QSqlQuery info(db);
  if (!info.exec(QStringLiteral("PRAGMA table_info(entries)"))) return false;
  QStringList present;
  while (info.next()) present << info.value(1).toString();
  for (const Column& column : Columns) {
    const QString name = QLatin1String(column.name);
    if (column.since <= was || present.contains(name)) continue;
    if (!Exec(db, QStringLiteral("ALTER TABLE entries ADD COLUMN %1 %2").arg(name, QLatin1String(column.declaration))))
      return false;
  }
  return Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
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
    for (const QString& statement : Schema)
      if (!Exec(db, statement)) return false;
    return Migrate(db) && Exec(db, QStringLiteral("SELECT %1 FROM entries LIMIT 0").arg(EntryColumns)) &&
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

// "最近" in its file: what goes in comes back, each change is whole or not
// at all, a damaged file is set aside, and values from the file are bounded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "app/HistoryStore.h"
#include "model/StylePresets.h"

using namespace quillet;

namespace {

HistoryEntry Entry(int64_t time, std::string first = "张三") {
  HistoryEntry entry;
  entry.kind = HistoryKind::Copied;
  entry.time = time;
  entry.choice.contentPage = {GeneralFormat, 0};
  entry.fields = {{PageForTab(GeneralFormat, 0)->fields[0].slot, first}};
  entry.firstField = std::move(first);
  return entry;
}

// Statements run on the file behind the store's back, as another program
// or a damaged disk would.
void Tamper(const QString& file, const std::vector<std::string>& statements) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tamper"));
    db.setDatabaseName(file);
    ASSERT_TRUE(db.open());
    for (const std::string& statement : statements) {
      QSqlQuery query(db);
      ASSERT_TRUE(query.exec(QString::fromStdString(statement))) << statement;
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
}

int UserVersion(const QString& file) {
  int version = -1;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
    db.setDatabaseName(file);
    QSqlQuery query(db);
    if (db.open() && query.exec(QStringLiteral("PRAGMA user_version")) && query.next()) version = query.value(0).toInt();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("look"));
  return version;
}

class HistoryStoreTest : public testing::Test {
 protected:
  QTemporaryDir dir_;
  QString File() const { return dir_.path() + QStringLiteral("/history.sqlite"); }
};

TEST_F(HistoryStoreTest, WhatGoesInComesBackInANewRun) {
  HistoryEntry entry = Entry(1'765'000'000, "Zoë 李");
  entry.kind = HistoryKind::Saved;
  entry.choice.symbol.level = QrLevel::Q;
  entry.choice.symbol.version = 7;
  entry.choice.symbol.eci = true;
  entry.choice.scale = 9;
  entry.choice.style.style.foreground = {0x1f, 0x3a, 0x93};
  entry.choice.style.style.background = {0xff, 0xf4, 0xd6};
  entry.choice.style.style.logoShare = 0.25;
  entry.choice.style.style.moduleShape = ModuleShape::Rounded;
  entry.choice.style.style.eyeShape = EyeShape::Circle;
  entry.choice.style.style.eyeColour = Rgb{0xb7, 0x1c, 0x1c};
  entry.choice.style.style.gradient = Gradient::Radial;
  entry.choice.style.style.foreground2 = Rgb{0x00, 0x6d, 0x5b};
  entry.choice.style.style.frameText = "扫一扫，加我为联系人";
  entry.choice.style.style.framePosition = FramePosition::Above;
  entry.choice.style.style.frameColour = Rgb{0x40, 0x40, 0x40};
  entry.choice.style.style.logoPad = LogoPad::Square;
  entry.choice.style.logoFile = "/home/李/logo.png";
  entry.choice.style.allowed.inverted = true;
  entry.fields.emplace_back(PageForTab(GeneralFormat, 0)->fields[2].slot, "line one\r\nline two");
  entry.place = "/tmp/名片.png";
  entry.thumbnailPng = std::string("\x89PNG\0\r\n", 7);
  {
    HistoryStore store(dir_.path());
    ASSERT_TRUE(store.Usable());
    ASSERT_TRUE(store.Add(entry));
  }
  HistoryStore again(dir_.path());
  const std::vector<HistoryEntry> read = again.Read();
  ASSERT_EQ(read.size(), 1u);
  const HistoryEntry& back = read[0];
  EXPECT_EQ(back.kind, entry.kind);
  EXPECT_EQ(back.time, entry.time);
  EXPECT_EQ(back.choice.symbol.level, QrLevel::Q);
  EXPECT_EQ(back.choice.symbol.version, 7);
  EXPECT_EQ(back.choice.symbol.eci, true);
  EXPECT_EQ(back.choice.scale, 9);
  EXPECT_EQ(back.choice.contentPage, entry.choice.contentPage);
  // Every value the style keeps, by the names the settings file gives them.
  EXPECT_EQ(StyleValues(back.choice.style.style), StyleValues(entry.choice.style.style));
  EXPECT_EQ(back.choice.style.style.logoShare, 0.25);
  EXPECT_EQ(back.choice.style.logoFile, entry.choice.style.logoFile);
  EXPECT_TRUE(back.choice.style.allowed.inverted);
  EXPECT_FALSE(back.choice.style.allowed.lowContrast);
  EXPECT_EQ(back.fields, entry.fields);
  EXPECT_EQ(back.firstField, entry.firstField);
  EXPECT_EQ(back.place, entry.place);
  EXPECT_EQ(back.thumbnailPng, entry.thumbnailPng);
}

TEST_F(HistoryStoreTest, KeepsTheNewestHundredAndDeletesForGood) {
  {
    HistoryStore store(dir_.path());
    std::optional<int64_t> id;
    for (int i = 1; i <= HistoryCapacity + 5; ++i) ASSERT_TRUE(id = store.Add(Entry(1000 + i)));
    ASSERT_TRUE(store.Remove(*id));
  }
  HistoryStore store(dir_.path());
  std::vector<HistoryEntry> read = store.Read();
  ASSERT_EQ(read.size(), static_cast<size_t>(HistoryCapacity - 1));
  EXPECT_EQ(read.front().time, 1000 + HistoryCapacity + 4);
  EXPECT_EQ(read.back().time, 1006);
  ASSERT_TRUE(store.Clear());
  EXPECT_TRUE(HistoryStore(dir_.path()).Read().empty());
}

// A write that fails halfway (here the second field, as a full disk would)
// leaves no half entry and every earlier one.
TEST_F(HistoryStoreTest, AFailedWriteChangesNothing) {
  { ASSERT_TRUE(HistoryStore(dir_.path()).Add(Entry(1000, "kept"))); }
  Tamper(File(), {"CREATE TRIGGER full BEFORE INSERT ON fields WHEN NEW.value = 'fails' "
                  "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"});
  HistoryStore store(dir_.path());
  HistoryEntry entry = Entry(2000, "first");
  entry.fields.emplace_back(PageForTab(GeneralFormat, 0)->fields[1].slot, "fails");
  EXPECT_FALSE(store.Add(entry));
  const std::vector<HistoryEntry> read = store.Read();
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].firstField, "kept");
}

struct Damage {
  const char* name;
  std::function<void(const QString& file)> apply;
};

TEST_F(HistoryStoreTest, ADamagedFileIsSetAsideAndANewOneBegun) {
  const std::vector<Damage> damages = {
      {"not a database",
       [](const QString& file) {
         QFile out(file);
         ASSERT_TRUE(out.open(QIODevice::WriteOnly));
         out.write("these are a spreadsheet's bytes, not a database's\n");
       }},
      {"cut short",
       [](const QString& file) {
         {
           HistoryStore store(QFileInfo(file).path());
           for (int i = 0; i < 40; ++i) store.Add(Entry(1000 + i, std::string(2000, 'x')));
         }
         QFile::resize(file, QFileInfo(file).size() / 2);
       }},
      {"another program's tables",
       [](const QString& file) { Tamper(file, {"CREATE TABLE entries(id INTEGER PRIMARY KEY, name TEXT)"}); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/history.sqlite");
    damage.apply(file);
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    const QByteArray bytes = damaged.readAll();
    damaged.close();

    HistoryStore store(dir.path());
    ASSERT_TRUE(store.Usable());
    ASSERT_FALSE(store.SetAside().isEmpty());
    EXPECT_TRUE(store.SetAside().startsWith(file + QStringLiteral(".damaged-")));
    QFile aside(store.SetAside());
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), bytes);
    EXPECT_TRUE(store.Read().empty());
    EXPECT_TRUE(store.Add(Entry(5000)));
    EXPECT_EQ(HistoryStore(dir.path()).Read().size(), 1u);
  }
}

// Rows another program wrote: each a copy of the good one with one value
// out of bounds, left out; the good one listed.
TEST_F(HistoryStoreTest, ValuesFromTheFileAreBounded) {
  { ASSERT_TRUE(HistoryStore(dir_.path()).Add(Entry(1000, "good"))); }
  const std::pair<const char*, const char*> faults[] = {
      {"bad kind", "kind = 99"},
      {"bad level", "level = 7"},
      {"bad text", "scale = 'four', foreground = 'red'"},
      {"big thumbnail", "thumbnail = zeroblob(70000)"},
      {"long field", "scale = scale"},
      {"bad shape", "moduleShape = 9, eyeColour = 'teal'"},
      {"bad gradient", "gradient = 3"},
      {"bad second colour", "foreground2 = '#12345'"},
      {"long caption", "frameText = hex(zeroblob(200))"},
      {"bad frame position", "framePosition = -1"},
      {"bad frame colour", "frameColour = 'grey'"},
      {"bad logo pad", "logoPad = 2"},
  };
  std::vector<std::string> statements;
  int copy = 0;
  for (const auto& [name, change] : faults) {
    statements.push_back("CREATE TEMP TABLE copy AS SELECT * FROM entries WHERE firstField = 'good'");
    statements.push_back("UPDATE copy SET id = NULL, time = time + " + std::to_string(++copy) + ", firstField = '" +
                         name + "', " + change);
    statements.push_back("INSERT INTO entries SELECT * FROM copy");
    statements.push_back("DROP TABLE copy");
  }
  statements.push_back("INSERT INTO fields SELECT id, 0, hex(zeroblob(5000)) FROM entries WHERE firstField = 'long field'");
  statements.push_back("INSERT INTO fields SELECT id, 999, 'x' FROM entries WHERE firstField = 'bad text'");
  Tamper(File(), statements);
  const std::vector<HistoryEntry> read = HistoryStore(dir_.path()).Read();
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].firstField, "good");
}

// The files earlier versions wrote, with a row each: the file is kept, its
// rows come back in the plain style they were made in, and new entries keep
// their whole style.
TEST_F(HistoryStoreTest, AnOlderFileGetsTheNewColumns) {
  const char* const firstColumns =
      "id INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER, time INTEGER, symbology INTEGER, format INTEGER, "
      "tab INTEGER, level INTEGER, version INTEGER, dmSize INTEGER, eci INTEGER, scale INTEGER, foreground TEXT, "
      "background TEXT, transparent INTEGER, logoShare REAL, logoFile TEXT, allowLow INTEGER, allowInverted INTEGER, "
      "firstField TEXT, place TEXT, thumbnail BLOB";
  const std::string firstRow = "1, 1, 1700000000, 0, " + std::to_string(GeneralFormat) +
                               ", 0, 1, 0, -1, 1, 5, '#1f3a93', '#ffffff', 0, NULL, '', 0, 0, '旧的', '', NULL";
  struct Schema {
    std::string columns, row;
    ModuleShape shape;
  };
  const Schema schemas[] = {
      {firstColumns, firstRow, ModuleShape::Square},
      {std::string(firstColumns) + ", moduleShape INTEGER, eyeShape INTEGER, eyeColour TEXT",
       firstRow + ", 1, 2, '#b71c1c'", ModuleShapes()[1].shape},
  };
  for (const auto& [columns, row, shape] : schemas) {
    SCOPED_TRACE(columns.size());
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/history.sqlite");
    Tamper(file, {"CREATE TABLE entries(" + columns + ")", "CREATE TABLE fields(entry INTEGER, slot INTEGER, value TEXT)",
                  "INSERT INTO entries VALUES(" + row + ")",
                  "INSERT INTO fields VALUES(1, " + std::to_string(PageForTab(GeneralFormat, 0)->fields[0].slot) +
                      ", '旧的')"});
    {
      HistoryStore store(dir.path());
      ASSERT_TRUE(store.Usable());
      EXPECT_TRUE(store.SetAside().isEmpty());
      const std::vector<HistoryEntry> read = store.Read();
      ASSERT_EQ(read.size(), 1u);
      EXPECT_EQ(read[0].firstField, "旧的");
      SymbolStyle plain;
      plain.foreground = {0x1f, 0x3a, 0x93};
      plain.moduleShape = shape;
      if (shape != ModuleShape::Square) plain.eyeShape = EyeShapes()[2].shape, plain.eyeColour = Rgb{0xb7, 0x1c, 0x1c};
      EXPECT_EQ(StyleValues(read[0].choice.style.style), StyleValues(plain));
      HistoryEntry framed = Entry(1'800'000'000, "新的");
      framed.choice.style.style.frameText = "扫我";
      framed.choice.style.style.gradient = Gradient::Linear;
      framed.choice.style.style.foreground2 = Rgb{0x20, 0x20, 0x80};
      ASSERT_TRUE(store.Add(framed));
    }
    EXPECT_GT(UserVersion(file), 0);
    const std::vector<HistoryEntry> read = HistoryStore(dir.path()).Read();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].choice.style.style.frameText, "扫我");
    EXPECT_EQ(read[0].choice.style.style.gradient, Gradient::Linear);
    EXPECT_EQ(read[1].firstField, "旧的");
  }
}

}  // namespace

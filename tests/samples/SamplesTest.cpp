#include "ProgramRun.h"
#include "engine/Words.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

using namespace gs;

namespace {

QString Sample(const char* name) { return QStringLiteral(GLOSSMITH_SAMPLES "/") + QString::fromUtf8(name); }

// A thousand lines of a sample, every one produced.
QStringList Generate(const char* sample, QStringList more = {}) {
  const TRun run = RunProgram(QStringList{"generate", Sample(sample), "-n", "1000", "--seed", "11"} + more);
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), 1000) << sample;
  return lines;
}

} // namespace

TEST(Samples, PersonalNamesNeverMeetThreeConsonants) {
  for (const QString& name : Generate("names.qdx")) {
    EXPECT_GE(name.size(), 3) << name.toStdString();
    EXPECT_LE(name.size(), 14) << name.toStdString();
    EXPECT_TRUE(name.front().isUpper()) << name.toStdString();
    EXPECT_FALSE(WordScheme(name).contains(u"$$$")) << name.toStdString();
    EXPECT_FALSE(name.contains(u"ae")) << name.toStdString();  // the inset pass joined them
  }
}

TEST(Samples, PlaceNamesTakeARootAndASuffix) {
  const QRegularExpression shape("^(Ash|Black|Elde|Fenna|Grey|Holla|Oak|Raven|Stone|Wilde|Thorn|Maple|Iva|Rose)"
                                 "(nor|lin|ford|mere|wick|stow|wood|moor|dale)$");
  QSet<QString> roots;
  for (const QString& place : Generate("places.qdx")) {
    const QRegularExpressionMatch m = shape.match(place);
    ASSERT_TRUE(m.hasMatch()) << place.toStdString();
    roots.insert(m.captured(1));
    // The suffix suits the root's ending.
    if (m.captured(1).endsWith(u'a')) {
      EXPECT_TRUE(m.captured(2) == u"nor" || m.captured(2) == u"lin") << place.toStdString();
    }
  }
  EXPECT_EQ(roots.size(), 14);  // every root of the list comes up
}

TEST(Samples, TitlesKeepTheirHeroesNames) {
  const QRegularExpression shape("^(\\S+) the (Grim|Bold|Fair|Silent|Wise|Swift) of (Blackmoor|Ravenwood|Ashdale|Greymere|Thornford)$");
  QSet<QString> heroes;
  for (const QString& title : Generate("titles.qdx")) {
    const QRegularExpressionMatch m = shape.match(title);
    ASSERT_TRUE(m.hasMatch()) << title.toStdString();
    heroes.insert(m.captured(1));
  }
  // Two hundred hero numbers, each name cached: never more names than heroes.
  EXPECT_GT(heroes.size(), 50);
  EXPECT_LE(heroes.size(), 200);
}

TEST(Samples, ListModeKeepsTheListOrder) {
  const TRun run = RunProgram({"generate", Sample("transform.qdx"), "--list", Sample("lists/english.txt")});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8("Völfiel Riveriel Stöneiel Mööniel Lightiel Shadöviel Friendiel Stariel Treeiel Fireiel").split(u' '));
  // A thousand words of a list, in its order.
  QTemporaryDir dir;
  QStringList words;
  for (int i = 0; i < 1000; ++i) words << QStringLiteral("word%1").arg(i);
  QFile list(dir.filePath("words.txt"));
  ASSERT_TRUE(list.open(QIODevice::WriteOnly));
  list.write(words.join(u'\n').toUtf8());
  list.close();
  const QStringList lines = RunProgram({"generate", Sample("transform.qdx"), "--list", list.fileName()}).out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1000);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(lines[i], QStringLiteral("Vörd%1iel").arg(i));
}

TEST(Samples, PhrasesFollowTheParameters) {
  const struct {
    const char *race, *gender, *a, *b;
  } cases[] = {{"elf", "f", "Lady of the leaves", "Daughter of the stars"},
               {"elf", "m", "Lord of the leaves", "Son of the stars"},
               {"dwarf", "f", "Stone-mother", "Keeper of the forge"},
               {"dwarf", "m", "Stone-father", "Master of the forge"}};
  for (const auto& c : cases) {
    const QStringList lines = Generate("phrases.qdx", {"-p", QStringLiteral("Race=%1").arg(c.race), "-p", QStringLiteral("Gender=%1").arg(c.gender)});
    for (const QString& line : lines) EXPECT_TRUE(line == c.a || line == c.b) << c.race << c.gender << line.toStdString();
    EXPECT_TRUE(lines.contains(c.a) && lines.contains(c.b));
  }
}

TEST(Samples, TheInstallerCarriesEverySample) {
  const QJsonObject dump = QJsonDocument::fromJson(RunProgram({"dump", Sample("glossmith-samples.qpi")}).out.toUtf8()).object();
  EXPECT_EQ(dump["mainFile"].toString(), "samples.qpc");
  EXPECT_EQ(dump["fileCount"].toInt(), 8);  // the container, five dictionaries, two lists
  QTemporaryDir home;
  ASSERT_EQ(RunProgramIn(home.path(), {"install", Sample("glossmith-samples.qpi")}).status, 0);
  for (const char* file : {"samples.qpc", "names.qdx", "titles.qdx", "places.qdx", "transform.qdx", "phrases.qdx", "lists/roots.txt"})
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral("Packages/") + file))) << file;
  // The installed titles still reach the installed names.
  const TRun run = RunProgramIn(home.path(), {"generate", home.filePath("Packages/titles.qdx"), "-n", "3"});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.count(u" the "), 3);
}

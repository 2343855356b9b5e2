#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/StartupFiles.h"

using namespace ruto;

class StartupFiles : public InstallFolderTest {
 protected:
  // Every file of the folder as "name=content", a copy of the template showing as "T".
  QString folder() const {
    const QByteArray tmpl = ruto::test::readFile(ruto::test::generatedPath("VoSpa.mdb"));
    QStringList out;
    for (const QString& name : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
      out << name + '=' + (content(name) == tmpl ? QByteArray("T") : content(name));
    std::sort(out.begin(), out.end());
    return out.join(' ');
  }
};

TEST_F(StartupFiles, FileStepsSwapUpdateAndCreateMainWithoutReplacingAnything) {
  const std::pair<const char*, const char*> cases[] = {
      // Files before and after as "name=content", "T" for a copy of the template.
      // No template: nothing is touched.
      {"ruto430.mdb=update ruto4.mdb=main", "ruto4.mdb=main ruto430.mdb=update"},
      // The update replaces the main database, which becomes the old one.
      {"VoSpa.mdb=T ruto430.mdb=update ruto4.mdb=main",
       "VoSpa.mdb=T ruto.mdb=main ruto4.mdb=update"},
      // An update without a main database is dropped; the main one is made from the template.
      {"VoSpa.mdb=T ruto430.mdb=update", "Ruto4.mdb=T VoSpa.mdb=T"},
      // A leftover update beside an old database is deleted.
      {"VoSpa.mdb=T ruto430.mdb=update ruto.mdb=old", "Ruto4.mdb=T VoSpa.mdb=T ruto.mdb=old"},
      // The swap never overwrites an old database still to migrate.
      {"VoSpa.mdb=T ruto430.mdb=update ruto4.mdb=main ruto.mdb=old",
       "VoSpa.mdb=T ruto.mdb=old ruto4.mdb=main ruto430.mdb=update"},
      // Names match whatever their case.
      {"VOSPA.MDB=T RUTO4.MDB=main", "RUTO4.MDB=main VOSPA.MDB=T"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden))
      ASSERT_TRUE(QFile::remove(path(f)));
    for (const QString& f : QString(before).split(' ')) {
      const QString name = f.section('=', 0, 0), data = f.section('=', 1);
      if (data == "T")
        putTemplate(name);
      else
        putMarker(name, data.toUtf8());
    }
    EXPECT_EQ(PrepareDatabaseFiles().TemplateMissing, !QString(before).contains("=T"));
    EXPECT_EQ(folder(), after);  // also: no temporary file is left behind
  }
}

TEST_F(StartupFiles, OpenFailuresGiveTheirMessageAndLeaveTheFilesAlone) {
  putTemplate();
  putTemplate(QStringLiteral("ruto4.mdb"));
  QString message;
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kDatabaseOpenText);
  EXPECT_FALSE(has("rutoTW.mdb")) << "never created by opening";
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection)) << "both are closed again";

  putReference();
  QByteArray jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  putMarker("ruto4.mdb", jet);
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kJetDatabaseText);
  EXPECT_EQ(content("ruto4.mdb"), jet);
  EXPECT_FALSE(QSqlDatabase::contains(kReferenceConnection));
}

#include <gtest/gtest.h>

#include "InstallFolderFixture.h"
#include "app/Database.h"
#include "app/Databases.h"
#include "app/StartupFiles.h"

class StartupFiles : public InstallFolderTest {};

TEST_F(StartupFiles, MissingTemplateTouchesNothing) {
  putMarker("ruto430.mdb", "update");
  putMarker("ruto4.mdb", "main");
  const TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_TRUE(r.TemplateMissing);
  EXPECT_EQ(content("ruto430.mdb"), "update");
  EXPECT_EQ(content("ruto4.mdb"), "main");
  EXPECT_FALSE(has("ruto.mdb"));
}

TEST_F(StartupFiles, UpdateReplacesMainAndMainBecomesOld) {
  putTemplate();
  putMarker("ruto430.mdb", "update");
  putMarker("ruto4.mdb", "main");
  const TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_TRUE(r.UpdateSwapped);
  EXPECT_EQ(content("ruto4.mdb"), "update");
  EXPECT_EQ(content("ruto.mdb"), "main");
  EXPECT_FALSE(has("ruto430.mdb"));
}

TEST_F(StartupFiles, UpdateWithoutMainIsDroppedAndMainMadeFromTemplate) {
  putTemplate();
  putMarker("ruto430.mdb", "update");
  const TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_TRUE(r.MainCreated);
  EXPECT_FALSE(has("ruto430.mdb"));
  EXPECT_EQ(content("Ruto4.mdb"), content("VoSpa.mdb"));
}

TEST_F(StartupFiles, LeftoverUpdateBesideOldDatabaseIsDeleted) {
  putTemplate();
  putMarker("ruto430.mdb", "update");
  putMarker("ruto.mdb", "old");
  PrepareDatabaseFiles();
  EXPECT_FALSE(has("ruto430.mdb"));
  EXPECT_EQ(content("ruto.mdb"), "old");
  EXPECT_TRUE(has("Ruto4.mdb"));
}

TEST_F(StartupFiles, SwapNeverOverwritesAnOldDatabaseStillToMigrate) {
  putTemplate();
  putMarker("ruto430.mdb", "update");
  putMarker("ruto4.mdb", "main");
  putMarker("ruto.mdb", "old");
  const TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_TRUE(r.UpdateKept);
  EXPECT_EQ(content("ruto430.mdb"), "update");
  EXPECT_EQ(content("ruto4.mdb"), "main");
  EXPECT_EQ(content("ruto.mdb"), "old");
}

TEST_F(StartupFiles, NamesMatchWhateverTheirCase) {
  putTemplate("VOSPA.MDB");
  putMarker("RUTO4.MDB", "main");
  const TStartupFiles r = PrepareDatabaseFiles();
  EXPECT_FALSE(r.TemplateMissing);
  EXPECT_FALSE(r.MainCreated);
  EXPECT_EQ(content("RUTO4.MDB"), "main");
  EXPECT_FALSE(has("Ruto4.mdb"));
}

TEST_F(StartupFiles, TemplateCopyLeavesNoTemporaryFile) {
  putTemplate();
  PrepareDatabaseFiles();
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"Ruto4.mdb", "VoSpa.mdb"}));
}

TEST_F(StartupFiles, DatabasesOpenFromAGoodInstallation) {
  putInstallation();
  QString message;
  ASSERT_TRUE(OpenStartupDatabases(&message)) << message.toStdString();
  EXPECT_TRUE(QSqlDatabase::database(kMainConnection, false).isOpen());
  EXPECT_TRUE(QSqlDatabase::database(kReferenceConnection, false).isOpen());
  CloseStartupDatabases();
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection));
}

TEST_F(StartupFiles, MissingReferenceDatabaseGivesTheStartupMessage) {
  putTemplate();
  putTemplate(QStringLiteral("ruto4.mdb"));
  QString message;
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kDatabaseOpenText);
  EXPECT_FALSE(has("rutoTW.mdb"));  // never created by opening
  EXPECT_FALSE(QSqlDatabase::contains(kMainConnection));
}

TEST_F(StartupFiles, JetFileGetsItsOwnMessage) {
  putTemplate();
  putReference();
  QByteArray jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  putMarker("ruto4.mdb", jet);
  QString message;
  EXPECT_FALSE(OpenStartupDatabases(&message));
  EXPECT_EQ(message, kJetDatabaseText);
}

TEST_F(StartupFiles, EmptyOrForeignFileIsNotOpened) {
  putTemplate();
  putReference();
  for (const QByteArray& data : {QByteArray(), QByteArray("just some text\n")}) {
    putMarker("ruto4.mdb", data);
    QString message;
    EXPECT_FALSE(OpenStartupDatabases(&message));
    EXPECT_EQ(message, kDatabaseOpenText);
    EXPECT_EQ(content("ruto4.mdb"), data);
  }
}

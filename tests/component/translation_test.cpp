// The catalogue through Qt's translation system: the generated translation
// source lists every text, and an installed translator changes the texts the
// next time they are used.
#include "component/translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTabWidget>
#include <QTranslator>
#include <QXmlStreamReader>

#include "component/vexar.h"
#include "parser/resource.h"

namespace Vexar {
namespace {

// Translates two texts of the catalogue's context; a .qm file would do the same.
class TGermanTranslator : public QTranslator {
 public:
  QString translate(const char* Context, const char* Source, const char*, int) const override {
    if (qstrcmp(Context, ResourceContext) != 0)
      return {};
    if (qstrcmp(Source, "Criteria") == 0)
      return QStringLiteral("Kriterien");
    if (qstrcmp(Source, " of following are met") == 0)
      return QStringLiteral(" der folgenden sind erfüllt");
    return {};
  }
  bool isEmpty() const override { return false; }
};

TEST(VexarTranslation, InstalledTranslatorChangesTheTextsWhereTheyAreUsed) {
  TSQLVexar V;
  TGermanTranslator German;
  QCoreApplication::installTranslator(&German);
  QCoreApplication::processEvents();  // delivers the language change
  EXPECT_EQ(LoadResString(rsWindowCriteria), "Kriterien");
  EXPECT_EQ(LoadResString(rsWherePanelFollowingMet), " der folgenden sind erfüllt");
  EXPECT_EQ(LoadResString(rsWindowSorting), "Sorting");
  EXPECT_EQ(V.PageControl()->tabText(0), "Kriterien");
  EXPECT_EQ(QString::fromStdString(LoadResString(rsWherePanelFollowingMet)),
            QStringLiteral(" der folgenden sind erfüllt"));

  QCoreApplication::removeTranslator(&German);
  QCoreApplication::processEvents();
  EXPECT_EQ(LoadResString(rsWindowCriteria), "Criteria");
  EXPECT_EQ(V.PageControl()->tabText(0), "Criteria");
  ResetResStrings();
}

TEST(VexarTranslation, GeneratedTranslationSourceListsEveryText) {
  QFile File(QStringLiteral(VEXAR_TS_FILE));
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  QXmlStreamReader Xml(&File);
  std::vector<std::string> Sources;
  QString Context;
  while (!Xml.atEnd()) {
    if (!Xml.readNext() || !Xml.isStartElement())
      continue;
    if (Xml.name() == QLatin1String("name"))
      Context = Xml.readElementText();
    if (Xml.name() == QLatin1String("source")) {
      EXPECT_EQ(Context, ResourceContext);
      Sources.push_back(Xml.readElementText().toStdString());
    }
  }
  ASSERT_FALSE(Xml.hasError()) << Xml.errorString().toStdString();
  ASSERT_EQ(Sources.size(), 70u);
  for (int i = 0; i < rsResStringCount; ++i)
    EXPECT_EQ(Sources[i], DefaultResString(TVXResString(i))) << ResStringName(TVXResString(i));
}

}  // namespace
}  // namespace Vexar

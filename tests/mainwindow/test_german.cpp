// The window for a German user: run with LANGUAGE=de and LC_ALL=de_DE.UTF-8,
// the program's translations installed as at start-up. Texts, numbers and
// dates are German; what goes into files is not.

#include "MainFrm.h"
#include "OffscreenWindow.h"
#include "OleDate.h"
#include "ProgramTranslations.h"
#include "RecordFile.h"
#include "SettingsStore.h"

#include <LED.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include <clocale>
#include <locale.h>

namespace {

// Qt reads the locale from the environment by itself; the C library, and so
// a user's desktop, has it only when it was generated.
bool germanLocaleGenerated()
{
    const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t(nullptr));
    if (german == locale_t(nullptr))
        return false;
    freelocale(german);
    return true;
}

class GermanWindowTest : public OffscreenWindowTest {
protected:
    void SetUp() override
    {
        OffscreenWindowTest::SetUp();
        if (!germanLocaleGenerated())
            GTEST_SKIP() << "the de_DE.UTF-8 locale is not generated (scripts/setup.sh generates it)";
        ASSERT_EQ(QLocale().name(), QStringLiteral("de_DE")) << "run with LC_ALL=de_DE.UTF-8";
        openWindow();
    }

    void appendSamples(int count)
    {
        for (int i = 1; i <= count; ++i) {
            Sample s;
            s.FirstValue = float(i) * 1.5f;
            s.FirstUnit = 0x08;
            s.Seconds = float(i) * 0.25f;
            s.Stamp = LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(10, 37, 0)).addSecs(i));
            state.store.AppendSample(s);
            state.acquisition.Modified = true;
            window->trendView().FollowLatestSample();
        }
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(GermanWindowTest, MenusButtonsAndCaptionsAreGerman)
{
    EXPECT_EQ(window->File->title(), QStringLiteral("&Datei"));
    QStringList fileEntries;
    for (QAction *action : window->File->actions())
        fileEntries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(fileEntries,
              (QStringList{QStringLiteral("&Neu"), QStringLiteral("Ö&ffnen..."), QStringLiteral("&Speichern"),
                           QStringLiteral("Speichern &unter..."), QStringLiteral("CSV exportieren..."),
                           QStringLiteral("-"), QStringLiteral("Druckereinrichtung..."), QStringLiteral("Drucken..."),
                           QStringLiteral("-"), QStringLiteral("&Beenden")}));
    EXPECT_EQ(window->Setup->title(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(window->Option->text(), QStringLiteral("Optionen..."));
    EXPECT_EQ(window->Help->title(), QStringLiteral("Hilfe"));
    EXPECT_EQ(window->View->title(), QStringLiteral("&Ansicht"));
    EXPECT_EQ(window->Stop->text(), QStringLiteral("STOPP"));
    EXPECT_EQ(window->Frame3->title(), QStringLiteral("GESAMT"));
    EXPECT_EQ(window->Frame2->title(), QStringLiteral("SICHTBARER BEREICH"));
    EXPECT_EQ(window->LinkStatus->text(), QStringLiteral("Angehalten"));
    EXPECT_EQ(window->Start->toolTip(),
              QStringLiteral("Die serielle Schnittstelle öffnen und die Messwerte des Messgeräts aufzeichnen"));
    // What assistive technology is told is German as well.
    EXPECT_EQ(window->aMAX->accessibleName(), QStringLiteral("GESAMT Maximum"));
    EXPECT_EQ(window->LCD1->accessibleName(), QStringLiteral("Erste Anzeige"));
    // The display mirrors the meter: its units and annunciators stay as the meter shows them.
    DecodedFrame frame;
    frame.display.LCD1 = "12.35";
    frame.display.L01 = {"AC", "", "MR", "kW", "V"};
    window->ApplyDecodedFrame(frame);
    EXPECT_EQ(window->L01[0]->text(), QStringLiteral("AC"));
    EXPECT_EQ(window->L01[3]->text(), QStringLiteral("kW"));
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("12.35"));
}

TEST_F(GermanWindowTest, QuestionsAndErrorsAreGermanAndQtsOwnTextsToo)
{
    appendSamples(2);
    prompts.answers = {SessionPrompts::Answer::Cancel};
    EXPECT_FALSE(window->CloseSequence());
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Datei vor dem Beenden speichern?")});

    // A file too short to hold a record: the message and its reason, both German.
    state.acquisition.Modified = false;
    const QString shortFile = dir.filePath(QStringLiteral("kurz.KRD"));
    {
        QFile file(shortFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(10, '\0'));
    }
    prompts.files = {shortFile};
    window->Open->trigger();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors.first(),
              QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden:\n"
                             "die Datei ist kürzer als ein Datensatz (10 Bytes; ein Datensatz hat %2).")
                  .arg(QDir::toNativeSeparators(shortFile))
                  .arg(SampleRecordSize));

    // Qt's own texts (the buttons of every message box) come from Qt's German translation.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

TEST_F(GermanWindowTest, NumbersAndDatesOnScreenFollowTheGermanConventions)
{
    appendSamples(3);
    // 4.5 with a decimal comma; the day before the month, dots between.
    EXPECT_EQ(window->aMAX->text(), QStringLiteral("4,5A"));
    EXPECT_EQ(window->aMAXDate->text(), QStringLiteral("07.06.02 10:37:03"));
    EXPECT_EQ(window->aMIN->text(), QStringLiteral("1,5A"));
    EXPECT_EQ(window->aAVG->text(), QStringLiteral("3,0A"));
    EXPECT_EQ(window->aMINDate->text(), QStringLiteral("07.06.02 10:37:01"));
}

TEST_F(GermanWindowTest, FilesStayFreeOfTheLocale)
{
    // A recording opened and saved again keeps every byte.
    const QString original = QStringLiteral(AMPERO_TEST_DATA "/recording-3.KRD");
    const QString saved = dir.filePath(QStringLiteral("gespeichert.KRD"));
    prompts.files = {original};
    window->Open->trigger();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(QLatin1Char('\n')).toStdString();
    prompts.files = {saved};
    window->SaveAs->trigger();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(contents(saved), contents(original));

    // The CSV export writes numbers with a decimal point, whatever the user's locale.
    state.acquisition.Modified = false;
    window->New->trigger();
    appendSamples(2);
    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    prompts.files = {csv};
    window->ExportCsv->trigger();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(QLatin1Char('\n')).toStdString();
    const QList<QByteArray> lines = contents(csv).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QByteArray(SamplesCsvHeader));
    const QList<QByteArray> first = lines[1].split(',');
    ASSERT_EQ(first.size(), 11);
    EXPECT_EQ(first[2], QByteArray("0.25")) << "seconds";
    EXPECT_EQ(first[3], QByteArray("1.5")) << "first_value";
}

// Which language wins is the user's order of preference, and English, the
// language the texts are written in, needs no translation.
TEST(ProgramTranslations, TheFirstWantedLanguageWithATranslationWins)
{
    if (!germanLocaleGenerated())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not generated (scripts/setup.sh generates it)";
    EXPECT_TRUE(InstallTranslations({QStringLiteral("en-GB"), QStringLiteral("de-DE")}).empty());
    EXPECT_TRUE(InstallTranslations({QStringLiteral("C")}).empty());
    EXPECT_TRUE(InstallTranslations({QStringLiteral("xx-YY")}).empty());
    // French has no translation: German, the next choice, comes with Qt's own German.
    EXPECT_EQ(InstallTranslations({QStringLiteral("fr-FR"), QStringLiteral("de-AT")}).size(), 2u);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // As at start-up (main.cpp): the languages the environment asks for.
    const auto translators = InstallTranslations(QLocale::system().uiLanguages());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The English language file is complete: every text the windows ask for at start and in their
// dialogs is in it, so an English user never meets a German caption.
#include <QSurfaceFormat>
#include <QtTest>
#include <set>
#include <utility>

#include "app/Main.h"
#include "app/d_ErrorDlg.h"
#include "app/d_History.h"
#include "app/d_Options.h"
#include "app/d_SaveChanges.h"
#include "app/f_Info.h"
#include "app/f_ModellInfo.h"
#include "app/u_commandtable.h"
#include "catalogue/d_AddCollection.h"
#include "catalogue/d_Search.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "generated/d_HalbzeugEditor.h"
#include "generated/d_RoundPart.h"
#include "generated/d_SelectLibrary.h"
#include "generated/d_TubeManager.h"
#include "generated/f_Kabel.h"
#include "generated/f_RoundFF.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"
#include "model/d_PhasePicture.h"
#include "model/d_SelectStage.h"
#include "model/d_ShowBauphase.h"
#include "model/f_Ausgabe.h"
#include "model/f_Bauphasen.h"
#include "motion/d_Jog.h"
#include "motion/f_AniOpt.h"
#include "motion/f_Animation.h"
#include "motion/f_KineMotor.h"
#include "motion/f_Kollision.h"
#include "motion/f_TransRot.h"
#include "motion/f_Zeitmanager.h"
#include "motion/f_kineManager.h"
#include "motion/f_kineRotation.h"
#include "online/d_CloudCollection.h"
#include "online/d_OnlineLibrary.h"
#include "online/d_ServerSettings.h"
#include "online/d_SoftwareUpdate.h"
#include "online/f_InternetBauteile.h"
#include "printing/d_Print.h"
#include "printing/f_PrintProgress.h"
#include "printing/u_sheetitems.h"
#include "sequence/d_AblaufDialogs.h"
#include "view/d_Bildgroesse.h"
#include "view/d_CameraName.h"
#include "view/f_GlInfo.h"
#include "view/f_RenderManager.h"
#include "view/f_RenderView.h"
#include "view/r_glinfo.h"

using namespace kx;

class TestEnglish : public QObject {
    Q_OBJECT
private slots:
    void everyTextOfTheWindowsIsInTheEnglishFile() {
        auto english =
            std::make_unique<TkxLanguage>(std::filesystem::path(KX_RUNTIME_DIR) / "ENGLISH.lng");
        QVERIFY(english->Table().SectionExists("MAIN"));
        std::set<std::pair<std::string, int>> missing;
        english->SetMissingTextObserver([&](std::string_view section, int number) {
            missing.emplace(std::string(section), number);
        });
        auto old = SetLanguage(std::move(english));
        // The check itself works: a text that is nowhere is reported.
        Language().GetText("MAIN", 99999, "x");
        QCOMPARE(missing.size(), size_t(1));
        missing.clear();
        {
            TMainForm form;
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            TdlgBildgroesse size(QSize(640, 480));
            TdlgCameraName camera(QStringLiteral("Kamera 1"));
            TFormGlInfo gl(GlReport(TGlInfo{}, QSurfaceFormat::defaultFormat()));
            TFormRenderManager renderManager;
            TFormRenderView renderView(QImage(10, 10, QImage::Format_RGB32));
            TFormInfo info;
            TFormModellInformation modelInfo(TModelInformation{});
            TdlgSelectStage stage(3);
            TFormBauphasen phases(std::vector<bool>(4, true));
            TdlgShowBauphase phaseDisplay;
            TdlgSearch search(form.Library()->Library());
            TdlgAddCollection count;
            TdlgError error("x", Stack());
            TDlgAniOpt aniOptions(100);
            TDlgAnimation movie(QSize(640, 480));
            TDlgZeitManager timeManager(form.Model(), TPartFiles(), 1, 100);
            TdlgSaveChanges saveChanges{QString()};
            TdlgServerSettings server(TWebSettings{});
            form.Commands().Execute("menMeasurements");
            TFormPrintProgress progress(&form);
            LibraryItems(form.Model().Files(), DefCache(), {}, &progress);
            auto sheet = NewPartsSheet({}, form.Model().Files(), DefCache(), {});
            TdlgPrint print(*sheet);
            TdlgPhasePicture phasePicture;
            TFormAusgabe output(QImage(10, 10, QImage::Format_RGB32));
            TdlgJog jog;
            jog.show();
            TdlgSelectJogType jogTypes(nullptr, {});
            TDlgTubeManager tubes(form.Model());
            THalbzeugEditor strip(form.Model(), nullptr);
            for (const THZModData& step :
                 {THZModData{1, 2, 0, 4, 0}, THZModData{3, 100, 0, 0, 0},
                  THZModData{4, 100, 0, 0, 1}, THZModData{5, 100, 0, 0, 90},
                  THZModData{2, 10, 20, 4, 0}, THZModData{0, 50, 0, 0, 0}}) {
                strip.EnterStep(step);
                strip.AddStep();
            }
            (void)THalbzeugEditor::StepText({3, 1, 0, 0, 1});
            (void)THalbzeugEditor::StepText({4, 1, 0, 0, 0});
            TPartFiles partFiles;
            TFormInternetBauteile partUpdate(partFiles, {});
            TdlgSoftwareUpdate softwareUpdate(QStringLiteral("Version"), {}, QUrl());
            TdlgOnlineLibrary onlineLibrary(true);
            TdlgCloudCollection cloudCollection;
            TFormKineRotation kineRotation(TGearLinkForm{}, nullptr);
            TFormKineMotor kineMotor(TMotorForm{}, nullptr);
            TFormTransRot transRot(TTransRotForm{});
            TFormKollision collision(TCollisionForm{});
            form.KineManager()->DoLanguage();
            TPipeEx cableHose;
            TCableSession cableSession(cableHose, {}, {});
            TFormKabel cable(cableSession, {});
            TdlgRoundPart roundPart;
            TFormRoundFF rounding(partFiles, FfCache());
            TdlgSelectLibrary selectLibrary;
            selectLibrary.ShowWindow();
            TBlockMotor motorBlock;
            TFormAblaufMotor motorDialog(motorBlock);
            TBlockKollision collisionBlock;
            TFormAblaufKollision collisionDialog(collisionBlock, {});
            TBlockPause pauseBlock;
            TFormAblaufPause pauseDialog(pauseBlock);
            TBlockSetVar setVarBlock;
            TFormAblaufSetVar setVarDialog(setVarBlock);
            TBlockJoystick joystickBlock;
            TFormAblaufJoystick joystickDialog(joystickBlock);
            TBlockFarbe colourBlock;
            TFormAblaufFarbe colourDialog(colourBlock);
            TBlockVariable compareBlock;
            TFormAblaufVariable compareDialog(compareBlock);
            TBlockIncVar incVarBlock;
            TFormAblaufIncVar incVarDialog(incVarBlock);
            TdlgOptions options;
            options.show();
            TdlgHistory history(TdlgHistory::HistoryFile());
            TdlgHistory noHistory(QStringLiteral("/nonexistent/CHANGES"));
        }
        // Messages of rare outcomes, asked for by key.
        for (const auto& [section, key] :
             std::vector<std::pair<const char*, int>>{{"D_OPTIONS", 16},
                                                      {"D_OPTIONS", 17},
                                                      {"D_OPTIONS", 31},
                                                      {"D_OPTIONS", 32},
                                                      {"HILFE", 1},
                                                      {"HILFE", 2}}) {
            Language().GetText(section, key, "");
        }
        SetLanguage(std::move(old));
        QStringList list;
        for (const auto& [section, number] : missing) {
            list << QStringLiteral("%1 %2").arg(QString::fromStdString(section)).arg(number);
        }
        QVERIFY2(missing.empty(), qPrintable(list.join(QStringLiteral(", "))));
    }
};

KX_GUI_TEST_MAIN(TestEnglish)

#include "test_english.moc"

#include "OffscreenWindow.h"

void MeterWindowTest::SetUp()
{
    OffscreenWindowTest::SetUp();
    pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
    ASSERT_TRUE(pty->isValid());
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), pty->linkPath());
}

MainFrm &ProgramRun::create()
{
    window = std::make_unique<MainFrm>(state, settings, prompts);
    return *window;
}

MainFrm &ProgramRun::open()
{
    create().show();
    return *window;
}

MainFrm &ProgramRun::openOnPort()
{
    create();
    window->ProbePorts();
    window->SetPortInUse(1);
    window->show();
    return *window;
}

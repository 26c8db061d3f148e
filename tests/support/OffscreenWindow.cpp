#include "OffscreenWindow.h"

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

// Start-up: the main window first, then the data module (its connection events
// draw the lamp of the main window), then the message loop.

#include "app/Application.h"
#include "ui/ErrorDisplay.h"
#include "app/MainZRT.h"
#include "data/DataZRT.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);

    TFormMainZRT main;
    reportSystemConfigFaults(); // skipped lines of /etc/talvira.conf, before the first connection
    auto* data = new TDataZRT(&app);
    main.followConnection(data->FDConnection1);
    runHandler([data] { data->DataModuleCreate(); });

    main.showMaximized();
    const int code = app.exec();
    delete data;
    return code;
}

#include "launcher/RunLauncher.h"

#include "launcher/FormPicture.h"
#include "launcher/GIFBusyPicture.h"
#include "launcher/HttpPageView.h"
#include "launcher/SystemHost.h"
#include "launcher/TForm1.h"
#include "launcher/WorkerUpdateNetwork.h"
#include "platform/Platform.h"
#include "platform/loop/TerminationSignals.h"

namespace vorsel {

int RunLauncher(plat::EventLoop& loop, const std::string& exeDir)
{
    plat::TerminationSignals signals(loop);
    WorkerUpdateNetwork network(loop);
    HttpPageView browser(loop, plat::Get().text);
    SystemHost host;
    GIFBusyPicture picture(loop, *plat::Get().clock, Image1PictureData(), Image1PictureSize());
    TForm1 Form1({&loop, plat::Get().windows, &browser, &network, &host, &picture}, exeDir);
    loop.AddSource([&] {
        if (signals.Requested())
            Form1.TerminationRequested();
    });
    Form1.FormCreate();
    Form1.Show();
    if (!Form1.Ended())
        loop.Run();
    return 0;
}

} // namespace vorsel

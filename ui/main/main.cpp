#include "ui/main/qzb_app.h"

int main(int argc, char** argv)
{
    qzb::CQZBApp app(argc, argv);
    return app.Run();
}

#include "app/Startup.h"

#include "toolkit/TApplication.h"

int RunQuillet(int argc, char** argv) {
    TApplication app(argc, argv);
    app.Title = "Quillet 3.1+";
    return app.Run();
}

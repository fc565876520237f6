#include "app/app_delegate.h"
#include "platform/event_loop.h"

int main(int argc, char** argv) {
    glugmo::AppDelegate delegate;
    return glugmo::runEventLoop(argc, argv, delegate);
}

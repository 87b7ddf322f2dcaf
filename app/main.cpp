#include "startup.h"

int main(int argc, char** argv) { return oscilane::runOscilane(argc, argv); }

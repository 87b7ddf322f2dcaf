// The application's start-up: one instance per session, the splash picture,
// the document types, the main frame and the first document.
#pragma once

namespace oscilane {

int runOscilane(int argc, char** argv);

}  // namespace oscilane

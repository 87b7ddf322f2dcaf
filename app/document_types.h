// The application's five document types, registered in type order:
// scope, meter, generator, data sheet, recorder.
#pragma once

namespace oscilane {

class OscilaneApp;

void registerDocumentTypes(OscilaneApp& app);

}  // namespace oscilane

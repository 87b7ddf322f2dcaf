// The two data window types: a data sheet and a recorder, each an empty form.
#pragma once

#include "shell/document_template.h"

namespace oscilane {

DocumentTemplate sheetTemplate();
DocumentTemplate recorderTemplate();

}  // namespace oscilane

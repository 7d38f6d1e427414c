// Building the spectrum modulators' process-wide tables.
#include "engine/spectrum/spectrum_tables.h"

#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"

namespace quenvale {

void buildSpectrumTables() {
    (void)sineDynamicTable();
    (void)filterTemplate(0);
}

}  // namespace quenvale

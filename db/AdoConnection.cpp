// Placeholder until the ADO backend lands; compiled only in Windows builds.
#include "Backends.h"

// The one application object.
#include "solver_app.h"

CSolverApp theApp;

#include "app/view_state.h"

ViewState viewState;

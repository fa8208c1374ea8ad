#include "platform/view_state.h"

ViewState viewState;

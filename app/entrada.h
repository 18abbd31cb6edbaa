#pragma once

// The single-instance rule at start: true when this copy may run. A refused copy has told the
// user and asked the running copy to come to the front.
bool PodeIniciar();

/* Compiles the CLAP header and its layout pins as C11: the interface is C, and a
 * C compiler must agree on every size and offset (bool, enums, the anonymous
 * window union). Nothing to run. */
#include "clap/clap_abi.h"

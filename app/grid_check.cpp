// Minimum grid points by polynomial order.
#include "app/grid_check.h"

int32_t MinimumGridPoints(uint32_t polynomialOrder) {
    switch (polynomialOrder) {
        case 2:
            return 6;
        case 3:
            return 10;
        case 4:
            return 15;
        case 5:
            return 21;
        case 6:
            return 28;
        case 7:
            return 36;
        default:
            return 3;
    }
}

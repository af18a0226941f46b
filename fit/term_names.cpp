// The constant term-label tables.
#include "fit/term_names.h"

const char* const PolynomialTermNames[kPolynomialTermNameCount] = {
    "1",                                                           //
    "v",   "w",                                                    //
    "v^2", "vw",   "w^2",                                          //
    "v^3", "v^2w", "vw^2",   "w^3",                                //
    "v^4", "v^3w", "v^2w^2", "vw^3",   "w^4",                      //
    "v^5", "v^4w", "v^3w^2", "v^2w^3", "vw^4",   "w^5",            //
    "v^6", "v^5w", "v^4w^2", "v^3w^3", "v^2w^4", "vw^5",   "w^6",  //
    "v^7", "v^6w", "v^5w^2", "v^4w^3", "v^3w^4", "v^2w^5", "vw^6", "w^7",
};

const char* const LaplaceTermNames[kLaplaceTermNameCount] = {
    "Coef00", "Coef01", "Coef02", "Coef03", "Coef04", "Coef05", "Coef06", "Coef07",
    "Coef08", "Coef09", "Coef10", "Coef11", "Coef12", "Coef13", "Coef14",
};

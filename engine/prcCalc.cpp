#include "engine/prcCalc.h"

// Placeholder bodies; the engine is being written.
TcCalc::TcCalc(const TcMainState& state) : cMain(state) { calcCleate(); }
void TcCalc::calcCleate() { pi = 3.141592653589793; twoPi = pi * 2; degPerRad = 180 / pi; }
void TcCalc::mooncalc(int, int, int, TcDayResult& r) const { r = TcDayResult{noEvent, noEvent, noEvent, noEvent, 0, 0}; (void)cMain; }
double TcCalc::moonage(double) const { return 0; }
void TcCalc::dms(double, int& d, int& m, int& s) const { d = m = s = 0; }
void TcCalc::ec_to_eq(double, double, double, double& a, double& d) const { a = d = 0; }
int TcCalc::toYMD(double, int& y, int& m, double& d) const { y = m = 0; d = 0; return 0; }
double TcCalc::obs(double, double& s) const { s = 0; return 0; }
double TcCalc::pmod(double a) const { return a; }
double TcCalc::sid(double) const { return 0; }
double TcCalc::sMOON(double, double& b, double& p) const { b = p = 0; return 0; }
double TcCalc::sun(double) const { return 0; }
double TcCalc::tcalc(int, double, double, double& H) const { H = noEvent; return 0; }
double TcCalc::tjd(int, int, double, int, int, int) const { return 0; }

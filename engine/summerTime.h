// The summer-time rule shared by both engines: a site that keeps summer time
// (flag exactly 1) moves its clock one hour ahead for whole days of April to
// September north of the equator and October to March south of it. A site on
// the equator never does.
#pragma once

// latitude: any angular unit, only its sign counts. month: 1..12.
bool summerTimeApplies(int summerFlag, int month, double latitude);

#pragma once
// Section profile builders: each turns the dimensions of one cross-section (millimetres)
// into one new IFC profile definition in the given model and returns it. Nothing is cached
// or shared between calls; reuse of equal sections is makeProfiles' cache.
//
// Conventions of every builder:
// - ProfileType is AREA on every profile, derived profiles included.
// - ProfileName is the shape code and the dimensions joined by "*", each printed as the
//   nearest whole number, an exact half to the even neighbour ("I_200*400*8*13").
// - Parameterized profiles are centred by an IfcAxis2Placement2D at a new point (0., 0.).
// - Outline points have two coordinates, and every IfcPolyline bounding a profile is closed:
//   its last point is its first point entity again.
// - Every IfcCartesianTransformationOperator2D carries a LocalOrigin and both axes, all
//   two-dimensional; an axis is (-1., 0.) or (0., -1.) where the shape is mirrored in x or in
//   y, (1., 0.) or (0., 1.) otherwise, so that every reader mirrors rather than turns it.
// - A fillet or edge radius of 0 is left unset under IFC2X3, whose radii must be positive.
//
// Builders of parameterized profiles, of the hollow rectangle outline, of the regular polygon
// and of the built-up boxes throw SectionError, before creating any entity, when the
// dimensions cannot make a valid profile of their type: a size that must be positive is not
// (or overflows to infinity), or a thickness does not fit its section (a flange thicker than
// half the depth, a wall as thick as half the width). The other outline builders draw
// whatever outline their dimensions give, refusing only coordinates that are not finite.

#include "ifc/model.h"
#include "sections/section_error.h"

namespace Sect {

// Parameterized profiles.
ifc::Entity Circle_Section(ifc::Model& ifcfile, double D);
ifc::Entity Rect_Section(ifc::Model& ifcfile, double b, double h);
ifc::Entity RH_Section(ifc::Model& ifcfile, double b, double h, double t);
ifc::Entity CH_Section(ifc::Model& ifcfile, double outD, double inD);
ifc::Entity Trap_Section(ifc::Model& ifcfile, double bot_width, double height, double l_extend,
                         double r_extend);
ifc::Entity I_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r);
// U, T and L return an IfcDerivedProfileDef over the parameterized shape; the derived profile
// carries the name. U: web centred on the y axis, flanges towards -x. T: flange at the bottom.
// L: the sign of W_ chooses the side of the horizontal leg (-x when positive), the sign of D_
// whether it lies at the bottom (D_ >= 0) or at the top. An L without outstand (W_ = 0) is a
// flat bar: an IfcRectangleProfileDef t x |D_| under the L's name. A CH whose inner diameter
// is 0 (or too small to change the wall) is a round bar: an IfcCircleProfileDef under the
// CH's name.
ifc::Entity U_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r);
ifc::Entity T_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r);
ifc::Entity L_Section(ifc::Model& ifcfile, double W_, double D_, double t, double r);

// Outline profiles (IfcArbitraryClosedProfileDef unless said otherwise).
ifc::Entity U_Section_Ex(ifc::Model& ifcfile, double web, double height, double top_width,
                         double top_thick, double bot_width, double bot_thick);
ifc::Entity I_Section_Ex(ifc::Model& ifcfile, double web, double height, double bot_width,
                         double top_width, double bot_thick, double top_thick);
// IfcArbitraryProfileDefWithVoids: the outer rectangle and one inner rectangle.
ifc::Entity RH_Section_Ex(ifc::Model& ifcfile, double b, double h, double tt, double tl, double tb,
                          double tr);
// IfcDerivedProfileDef over the unnamed outline; mirrored in x when W_ < 0, in y when D_ < 0.
ifc::Entity L_Section_Ex(ifc::Model& ifcfile, double W_, double D_, double tw, double tf);
ifc::Entity Double_I_Section(ifc::Model& ifcfile, double width, double height, double web,
                             double flange);
ifc::Entity Double_I_Section_Ex(ifc::Model& ifcfile, double v_web, double v_height, double v_flange,
                                double v_width, double h_web, double h_height, double h_flange,
                                double h_width);
ifc::Entity TI_Section(ifc::Model& ifcfile, double B, double H, double T, double F, double U,
                       double D, double L, double P);
ifc::Entity HV_Section(ifc::Model& ifcfile, double web, double height, double top_height,
                       double flange_tk, double flange_l_width, double flange_r_width);
// Vertices: floor(edgeCount) of them, 2*pi/edgeCount apart, the first at (diameter/2, 0.).
// Throws SectionError unless diameter > 0 and floor(edgeCount) >= 3.
ifc::Entity NGon_Section(ifc::Model& ifcfile, double diameter, double edgeCount);

// Composite profiles (IfcCompositeProfileDef of IfcDerivedProfileDef constituents).
// A constituent whose plate has zero thickness (F = 0) covers no area and is left out.
ifc::Entity Comp1_Section(ifc::Model& ifcfile, double B, double H, double U, double T, double D,
                          double F);
ifc::Entity Comp2_Section(ifc::Model& ifcfile, double B, double H, double U, double T, double D,
                          double F);
ifc::Entity Double_U_Section(ifc::Model& ifcfile, double web, double height, double top_width,
                             double top_thick, double bot_width, double bot_thick, double dist);

}  // namespace Sect

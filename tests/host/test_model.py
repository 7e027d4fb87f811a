"""The IFC model a script works on, and the section builders called on it: entities made by
type name and read back by name, by type and from the written file; profiles and their areas;
the profile cache of the run context in config."""

import math
import tempfile
import unittest
from pathlib import Path

import config
import ifc
import Sect
from App import Vector
from host_support import clear_run_context, new_model, set_run_context


class ModelTest(unittest.TestCase):
    def test_entities_by_type_name_with_attributes_by_position_and_by_name(self):
        model = ifc.Model("IFC4")
        self.assertEqual((model.schema, len(model)), ("IFC4", 0))
        point = model.create_entity("IfcCartesianPoint", Vector(1, 2, 3))
        placement = model.create_entity("IfcAxis2Placement3D", point, RefDirection=None)
        wall = model.create_entity("IfcWall", "0123456789012345678901", Name="Wall_7")
        wall.ObjectPlacement = model.create_entity("IfcLocalPlacement", None, placement)
        wall.PredefinedType = "SOLIDWALL"
        self.assertEqual(point.Coordinates, (1.0, 2.0, 3.0))
        self.assertEqual((wall.Name, wall.Description, wall.PredefinedType),
                         ("Wall_7", None, "SOLIDWALL"))
        self.assertEqual(wall.ObjectPlacement.RelativePlacement.Location, point)
        self.assertEqual((wall.is_a(), wall.is_a("IfcProduct"), wall.is_a("IfcBeam")),
                         ("IfcWall", True, False))
        self.assertEqual(point.id(), 1)
        self.assertEqual([e.is_a() for e in model.by_type("IfcPlacement")], ["IfcAxis2Placement3D"])
        self.assertEqual(model.by_id(wall.id()), wall)
        self.assertEqual(model[wall.id()], wall)
        self.assertEqual(len({wall, model[wall.id()]}), 1)
        self.assertEqual(wall[2], "Wall_7")
        self.assertEqual(len(wall), 9)
        self.assertEqual(wall.get_info()["Name"], "Wall_7")
        self.assertEqual(repr(point), "#1=IfcCartesianPoint((1.,2.,3.))")
        label = ifc.TypedValue("IfcLabel", "3")
        value = model.create_entity("IfcPropertySingleValue", "Height", None, label)
        self.assertEqual(value.NominalValue, label)
        relation = model.create_entity("IfcRelAggregates", "1123456789012345678901", None, None,
                                       None, wall, [model.create_entity("IfcBeam", "2123456789012345678901")])
        self.assertEqual(wall.IsDecomposedBy, (relation,))
        self.assertTrue(hasattr(wall, "IsDecomposedBy") and not hasattr(wall, "NoSuchThing"))
        plane = model.create_entity("IfcPlane", placement)
        half = model.create_entity("IfcHalfSpaceSolid", plane, True)
        flag = model.create_entity("IfcPropertySingleValue", "Flag", None,
                                   ifc.TypedValue("IfcBoolean", False))
        self.assertIs(half.AgreementFlag, True)  # a bool, not the integer 1
        self.assertTrue(repr(flag).endswith(",IFCBOOLEAN(.F.),$)"), repr(flag))
        self.assertEqual(model.validate(), [])

    def test_faults_are_exceptions_of_the_ifc_module(self):
        model, other = ifc.Model(), ifc.Model()
        beam = model.create_entity("IfcBeam", "0123456789012345678901")
        itself, deep = [], [0.0]
        itself.append(itself)
        for _ in range(100000):
            deep = [deep]
        for action, error, message in [
            (lambda: model.create_entity("IfcCartesianPoint", itself), ValueError,
             "^IfcCartesianPoint.Coordinates: the value nests deeper than 100 levels"),
            (lambda: model.create_entity("IfcCartesianPoint", Coordinates=deep), ValueError,
             "^IfcCartesianPoint.Coordinates: the value nests deeper"),
            (lambda: setattr(beam, "Tag", ifc.TypedValue("IfcLabel", itself)), ValueError,
             "^IfcBeam.Tag: the value nests deeper"),
            (lambda: model.create_entity("IfcCartesianPoint", (1.0, 2**64)), OverflowError,
             r"^IfcCartesianPoint.Coordinates: 18446744073709551616 does not fit"),
            (lambda: setattr(beam, "Name", -2**70), OverflowError,
             r"^IfcBeam.Name: -1180591620717411303424 does not fit"),
        ]:
            with self.subTest(message=message), self.assertRaisesRegex(error, message):
                action()
        for action, error in [
            (lambda: ifc.Model("IFC5"), ifc.Error),
            (lambda: model.create_entity("IfcNoSuchThing"), ifc.SchemaError),
            (lambda: model.create_entity("IfcProduct"), ifc.SchemaError),  # abstract
            (lambda: model.create_entity("IfcBeam", 12), ifc.SchemaError),
            (lambda: setattr(beam, "Name", 3.5), ifc.SchemaError),
            (lambda: setattr(beam, "NoSuchThing", 1), ifc.Error),
            (lambda: beam.NoSuchThing, AttributeError),
            (lambda: beam[40], IndexError),
            (lambda: model.by_id(999), ifc.Error),
            (lambda: other.create_entity("IfcLocalPlacement", beam), ifc.Error),
            (lambda: model.create_entity("IfcBeam", object()), TypeError),
            (lambda: ifc.open("/no/such/file.ifc"), ifc.Error),
        ]:
            with self.subTest(error=error), self.assertRaises(error):
                action()
        self.assertTrue(issubclass(ifc.SchemaError, ifc.Error) and issubclass(ifc.Error, RuntimeError))

    def test_a_written_model_reads_back_with_its_entities(self):
        model = new_model()
        profile = Sect.Rect_Section(model, 300.0, 500.0)
        with tempfile.TemporaryDirectory() as d:
            model.write(Path(d, "model.ifc"))
            again = ifc.open(str(Path(d, "model.ifc")))
        self.assertEqual((again.schema, len(again)), ("IFC2X3", len(model)))
        read = again.by_type("IfcRectangleProfileDef")[0]
        self.assertEqual(read.get_info() | {"Position": None},
                         profile.get_info() | {"Position": None})
        self.assertEqual(again.validate(), [])


class SectionTest(unittest.TestCase):
    def tearDown(self):
        clear_run_context()

    def test_builders_make_named_profiles_of_the_given_dimensions(self):
        model = ifc.Model("IFC2X3")
        for builder, args, type_name, name, area in [
            (Sect.Circle_Section, dict(D=300.0), "IfcCircleProfileDef", "Circle_300", math.pi * 150 * 150),
            (Sect.Rect_Section, (300.0, 500.0), "IfcRectangleProfileDef", "Rec_300*500", 150000.0),
            (Sect.I_Section, (200.0, 400.0, 8.0, 13.0, 16.0), "IfcIShapeProfileDef", "I_200*400*8*13", 8192.0),
            (Sect.U_Section, (100.0, 200.0, 8.0, 10.0, 12.0), "IfcDerivedProfileDef", "U_100*200*8*10", 3440.0),
            (Sect.T_Section, (200, 300, 10, 20, 0), "IfcDerivedProfileDef", "T_200*300*10*20", 6800.0),
            (Sect.RH_Section, (200.0, 300.0, 10.0), "IfcRectangleHollowProfileDef", "RH_200*300*10", 9600.0),
            (Sect.CH_Section, (219.0, 199.0), "IfcCircleHollowProfileDef", "CH_219*199",
             math.pi * 109.5 * 109.5 - math.pi * 99.5 * 99.5),
            (Sect.Trap_Section, (200.0, 300.0, 50.0, 50.0), "IfcTrapeziumProfileDef", "Trap_200*300*50*50", 75000.0),
            (Sect.Rect_Section, (12.5, 13.5), "IfcRectangleProfileDef", "Rec_12*14", 168.75),
        ]:
            with self.subTest(builder=builder.__name__, args=args):
                profile = builder(model, **args) if isinstance(args, dict) else builder(model, *args)
                self.assertEqual((profile.is_a(), profile.ProfileName, profile.ProfileType),
                                 (type_name, name, "AREA"))
                self.assertAlmostEqual(Sect.get_Area(profile), area, places=6)
        with self.assertRaises(Sect.SectionError):
            Sect.Rect_Section(model, -1.0, 500.0)
        with self.assertRaises(Sect.AreaError):
            Sect.get_Area(Sect.RH_Section_Ex(model, 200.0, 300.0, 10.0, 10.0, 20.0, 20.0))
        with self.assertRaises(TypeError):
            Sect.get_Area(Vector(1, 2, 3))
        unset = model.create_entity("IfcRectangleProfileDef", "AREA", None, None, 300.0)
        with self.assertRaisesRegex(Sect.AreaError, "^IfcRectangleProfileDef.YDim is not set"):
            Sect.get_Area(unset)

    def test_outline_areas_and_the_origin_of_derived_profiles(self):
        model = ifc.Model("IFC2X3")

        def polyline(*points):
            return model.create_entity("IfcPolyline", [
                model.create_entity("IfcCartesianPoint", p) for p in points])

        def closed(curve):
            return model.create_entity("IfcArbitraryClosedProfileDef", "AREA", None, curve)

        square = [(0.0, 0.0), (100.0, 0.0), (100.0, 100.0), (0.0, 100.0)]
        for profile, cords in [(closed(polyline(*square)), square),
                               (closed(polyline(*[p + (5.0,) for p in square[::-1]])), square[::-1])]:
            with self.subTest(cords=cords):
                self.assertEqual(Sect.getCords(profile), cords)
                self.assertEqual(Sect.Arb_Area(profile=profile), 10000.0)
        arc = model.create_entity("IfcTrimmedCurve", model.create_entity(
            "IfcCircle", model.create_entity("IfcAxis2Placement2D", model.create_entity(
                "IfcCartesianPoint", (0.0, 0.0))), 50.0), [ifc.TypedValue("IfcParameterValue", 0.0)],
            [ifc.TypedValue("IfcParameterValue", 90.0)], True, "PARAMETER")
        with self.assertRaisesRegex(Sect.AreaError, "^Not Implemented$"):
            Sect.Arb_Area(closed(arc))
        rectangle = Sect.Rect_Section(model, 300.0, 500.0)
        inner = Sect.U_Section(model, 100.0, 200.0, 8.0, 10.0, 12.0)  # derived, mirrored
        outer = model.create_entity("IfcDerivedProfileDef", "AREA", None, inner, inner.Operator)
        self.assertEqual(Sect.get_OriginProfile(derived=outer), inner.ParentProfile)
        for call in [lambda: Sect.get_OriginProfile(rectangle), lambda: Sect.getCords(rectangle),
                     lambda: Sect.Arb_Area(None)]:
            with self.subTest(call=call), self.assertRaises(TypeError):
                call()

    def test_none_as_the_model_is_refused_naming_the_argument(self):
        config.dict_profile = {}
        builders = [getattr(Sect, name) for name in dir(Sect)
                    if "_Section" in name and name != "Polygon_Section"]
        self.assertEqual(len(builders), 21)
        calls = [(b, (1.0,) * b.__doc__.split(")")[0].count(",")) for b in builders]
        calls += [(Sect.Polygon_Section, (Vector(0, 0, 1), [Vector(0, 0, 0)] * 3)),
                  (Sect.makeProfiles, (1, "1,300,500"))]
        for builder, args in calls:
            with self.subTest(builder=builder.__name__), self.assertRaisesRegex(
                    TypeError, "^ifcfile: expected an ifc.Model, got None$"):
                builder(None, *args)

    def test_polygon_profile_is_drawn_in_the_outline_frame(self):
        model = ifc.Model()
        square = [Vector(0, 0, 0), Vector(10, 0, 0), Vector(10, -10, 0), Vector(0, -10, 0)]
        profile = Sect.Polygon_Section(model, v0=Vector(0, 0, 1), points=square)
        points = [p.Coordinates for p in profile.OuterCurve.Points]
        expected = [(0, 0), (10, 0), (10, -10), (0, -10)]
        for got, want in zip(points, expected):
            self.assertAlmostEqual(got[0], want[0], places=9)
            self.assertAlmostEqual(got[1], want[1], places=9)
        self.assertIsNone(profile.ProfileName)
        self.assertEqual(Sect.get_Area(profile), 100.0)

    def test_make_profiles_caches_per_run_context(self):
        model = ifc.Model("IFC2X3")
        with self.assertRaisesRegex(RuntimeError, "config.dict_profile is not assigned"):
            Sect.makeProfiles(model, 1, "1,300,500")
        config.dict_profile = {}
        first = Sect.makeProfiles(model, 1, "1,300,500")
        size = len(model)
        self.assertEqual([p.ProfileName for p in first], ["Rec_300*500"])
        self.assertEqual(Sect.makeProfiles(model, kind=1.0, shapeValue="1,300,500"), first)
        self.assertEqual(len(model), size)  # no new entity
        self.assertEqual(Sect.makeProfiles(model, 21, "21,300,800,500"), [])  # tapered in IFC2X3
        self.assertEqual(len(Sect.makeProfiles(model, 13, "13,400,400,8,200,400,13")), 2)
        with self.assertRaises(Sect.SectionError):
            Sect.makeProfiles(model, 1, "1,300")
        self.assertIs(config.dict_profile["1,300,500"], first)  # the script's own dict
        self.assertNotIn("21,300,800,500", config.dict_profile)
        config.dict_profile = {}  # a new run: a new cache
        self.assertNotEqual(Sect.makeProfiles(model, 1, "1,300,500"), first)
        config.dict_profile.clear()
        self.assertNotEqual(Sect.makeProfiles(model, 1, "1,300,500"), first)
        mine = [Sect.Circle_Section(model, 10.0)]
        config.dict_profile["1,300,500"] = mine  # prefilled: any kind, nothing read
        self.assertIs(Sect.makeProfiles(model, 99, "1,300,500"), mine)
        tapered = Sect.makeProfiles(ifc.Model("IFC4"), 21, "21,300,800,500")
        self.assertEqual([p.YDim for p in tapered], [800.0, 500.0])
        with self.assertRaisesRegex(RuntimeError, "holds a profile of another model"):
            Sect.makeProfiles(model, 21, "21,300,800,500")


if __name__ == "__main__":
    unittest.main()

"""The builders of Utils called from a script on a model it made: the run context they need,
the products they return read back, the members they report and skip, and builders run from
several host threads at once."""

import contextlib
import io
import math
import unittest
from multiprocessing.dummy import Pool

import Beam
import config
import ifc
import Palvek
import Sect
import Utils
from App import Vector
from host_support import (SAMPLE, SOURCE_DIR, clear_run_context, new_model,
                          set_run_context)

WALL_SAMPLE = SOURCE_DIR / "examples" / "sample_walls.sdb"
STD_FLOOR = (1, 3600, "0,120", 1)
COLUMN = (1, 7, 0.0, 0.0, 3, 1000.0, 2000.0, "1,500,600", 0.0, 0.0, 1, 6, 0.0)


def with_fields(row, **fields):
    """The row with fields replaced by position: with_fields(row, f7='1,300,300')."""
    changed = list(row)
    for name, value in fields.items():
        changed[int(name[1:])] = value
    return tuple(changed)


def body_of(product):
    return product.Representation.Representations[0]


class RunContextTest(unittest.TestCase):
    def tearDown(self):
        clear_run_context()

    def test_a_builder_without_its_run_context_raises_before_making_anything(self):
        model, other = new_model(), new_model()
        profile = Sect.Rect_Section(model, 300.0, 500.0)
        calls = [
            lambda: Utils.CreateColumn(model, COLUMN, STD_FLOOR),
            lambda: Utils.CreateStraightStructure(model, "Beam", "B", profile, 1000.0, (0, 0, 0),
                                                  (1, 0, 0), (0, 1, 0)),
            lambda: Utils.CreateAssembly(model, "A", []),
            lambda: Utils.CreateHolesInWall(model, Palvek.getPalveks(WALL_SAMPLE)[0], []),
        ]
        for setup, message in [
            (lambda: None, "config.origin is not assigned"),
            (lambda: set_run_context(other), "config.origin belongs to another model"),
            (lambda: (set_run_context(model), setattr(config, "placement", config.directionX)),
             "config.placement is not an IfcAxis2Placement3D"),
            (lambda: (set_run_context(model), delattr(config, "dict_profile")),
             "config.dict_profile is not assigned"),
            (lambda: (set_run_context(model), setattr(config, "directionY", 3)),
             "config.directionY is not an IFC entity"),
        ]:
            with self.subTest(message=message):
                clear_run_context()
                setup()
                size = len(model)
                for call in calls:
                    with self.assertRaisesRegex(RuntimeError, "^run context not set up: " + message):
                        call()
                self.assertEqual(len(model), size)
        set_run_context(model)
        built = 0
        for name in dir(Utils):
            doc = getattr(Utils, name).__doc__ or ""
            if not doc.startswith(name + "(ifc"):
                continue
            params = [p.split(": ") for p in doc[len(name) + 1:doc.index(")")].split(", ")
                      if ": " in p and "=" not in p]
            dummies = [{"float": 1.0, "str": "Beam", "Iterable": []}.get(t) for _, t in params[1:]]
            with self.subTest(builder=name), self.assertRaisesRegex(
                    TypeError, f"^{params[0][0]}: expected an ifc.Model, got None$"):
                getattr(Utils, name)(None, *dummies)
            built += 1
        self.assertEqual(built, 15)  # with makeProfiles
        bare = ifc.Model("IFC2X3")
        set_run_context(bare)
        with self.assertRaisesRegex(RuntimeError, "the model has no IfcOwnerHistory"):
            Utils.CreateColumn(bare, COLUMN, STD_FLOOR)


class BuilderTest(unittest.TestCase):
    def setUp(self):
        self.model = new_model()
        set_run_context(self.model)

    def tearDown(self):
        clear_run_context()

    def build(self, builder, *args):
        """The builder's result and what it printed."""
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            result = builder(self.model, *args)
        return result, printed.getvalue()

    def test_columns_as_plain_composite_and_skipped_members(self):
        for row, names, printed in [
            (COLUMN, ["Columm_7"], ""),
            (with_fields(COLUMN, f7="13,400,400,8,200,400,13", f10=13), ["Column_7"], ""),
            (with_fields(COLUMN, f7="999,500,600", f10=999), [], "Column_7, 截面类型999未定义\n"),
        ]:
            with self.subTest(row=row):
                products, output = self.build(Utils.CreateColumn, row, STD_FLOOR)
                self.assertEqual([p.Name for p in products], names)
                self.assertEqual(output, printed)
        column = Utils.CreateColumn(self.model, COLUMN, STD_FLOOR)[0]
        self.assertEqual(column.is_a(), "IfcColumn")
        self.assertEqual(column.ObjectPlacement.RelativePlacement.Location.Coordinates,
                         (1000.0, 2000.0, 0.0))
        solid = body_of(column).Items[0]
        self.assertEqual((solid.Depth, solid.SweptArea.ProfileName), (3600.0, "Rec_500*600"))
        assembly = Utils.CreateColumn(self.model, with_fields(COLUMN, f7="13,400,400,8,200,400,13",
                                                              f10=13), STD_FLOOR)[0]
        parts = assembly.IsDecomposedBy[0].RelatedObjects
        self.assertEqual([p.Name for p in parts], ["Column_7_1", "Columm_7_2"])
        mine = Sect.Rect_Section(self.model, 111.0, 222.0)
        config.dict_profile["1,500,600"] = [mine]  # what a script put there is used
        solid = body_of(Utils.CreateColumn(self.model, COLUMN, STD_FLOOR)[0]).Items[0]
        self.assertEqual(solid.SweptArea, mine)
        config.dict_profile.clear()
        solid = body_of(Utils.CreateColumn(self.model, COLUMN, STD_FLOOR)[0]).Items[0]
        self.assertEqual(solid.SweptArea.ProfileName, "Rec_500*600")
        self.assertEqual(config.dict_profile, {"1,500,600": [solid.SweptArea]})
        self.assertEqual(self.model.validate(), [])

    def test_beams_and_walls_of_the_samples_with_their_neighbours(self):
        beams = Beam.getBeams(SAMPLE)
        floor = [b for b in beams if b[0] == beams[0][0]]
        for beam in floor:
            with self.subTest(beam=beam[1]):
                supports = Beam.getConnectBeams(beam, floor, [], [])
                products, _ = self.build(Utils.CreateBeam, beam, STD_FLOOR, supports)
                self.assertEqual(products[0].Name, f"Beam_{beam[1]}")
                adjusted = Utils.adjustBeam(beam, supports or [])
                self.assertEqual(len(adjusted), 8)
        walls, wall_beams = Palvek.getPalveks(WALL_SAMPLE), Beam.getBeams(WALL_SAMPLE)
        for wall in walls:
            f_walls = [w for w in walls if w[0] == wall[0]]
            f_beams = [b for b in wall_beams if b[0] == wall[0]]
            with self.subTest(wall=wall[1]):
                connect_walls = Palvek.getConnectWalls(wall, f_beams, [], f_walls)
                connect_beams = Palvek.getConnectBeams(wall, f_beams, [], f_walls)
                product, _ = self.build(Utils.CreateWall, wall, STD_FLOOR, connect_walls,
                                        connect_beams)
                self.assertEqual((product.is_a(), product.Name), ("IfcWall", f"Wall_{wall[1]}"))
                holes = Palvek.getWallHoles(WALL_SAMPLE, wall[0], wall[3])
                openings, _ = self.build(Utils.CreateHolesInWall, wall, holes)
                self.assertEqual([o.Name for o in openings], ["Wall_Hole"] * len(holes))
                x1, y1, p1, n1, x2, y2, p2, n2 = Utils.adjustWallByWall(wall, connect_walls)
                self.assertEqual((p1 is None, p2 is None), (n1 is None, n2 is None))
                self.assertEqual(len(Utils.adjustWallByBeam(wall, connect_beams, wall_origin=wall)), 4)
        self.assertEqual(sum(len(o) for o in [Palvek.getWallHoles(WALL_SAMPLE, w[0], w[3])
                                              for w in walls]), 4)
        self.assertEqual(self.model.validate(), [])

    def test_solid_builders_assemblies_and_materials(self):
        profile = Sect.Rect_Section(self.model, 300.0, 500.0)
        direction = Vector(0, 0, 2)
        plain = Utils.CreateStraightStructure(self.model, "Beam", "B_1", profile, 1000.0,
                                              Vector(1, 2, 3), direction, (1, 0, 0))
        self.assertEqual(tuple(direction), (0.0, 0.0, 1.0))  # normalised in place
        self.assertEqual((plain.is_a(), body_of(plain).RepresentationType), ("IfcBeam", "SweptSolid"))
        self.assertEqual(body_of(plain).Items[0].Position, config.placement)
        clipped = Utils.CreateStraightStructure(
            self.model, structureType="Opening", Name="O_1", section=profile, L=500.0,
            position=(0, 0, 0), direction=(0, 0, 1), refDirection=(1, 0, 0),
            clip_planes=[(Vector(0, 0, 100), (0, 1, 1))])
        self.assertEqual((clipped.is_a(), body_of(clipped).RepresentationType),
                         ("IfcOpeningElement", "Clipping"))
        plane = body_of(clipped).Items[0].SecondOperand.BaseSurface.Position
        self.assertEqual((plane.Location.Coordinates, plane.Axis.DirectionRatios),
                         ((0.0, 0.0, 100.0), (0.0, 1.0, 1.0)))  # (point, normal)
        axis = self.model.create_entity("IfcAxis1Placement", config.origin, config.directionY)
        arc = Utils.CreateArcStructure(self.model, "Wall", "W_1", profile, axis, 90.0,
                                       (0, 0, 0), (0, 0, 1), (1, 0, 0))
        self.assertEqual(body_of(arc).Items[0].is_a(), "IfcRevolvedAreaSolid")
        assembly = Utils.CreateAssembly(self.model, "Beam_9", [plain, clipped])
        self.assertEqual(assembly.IsDecomposedBy[0].RelatedObjects, (plain, clipped))
        self.assertIsNone(Utils.AddMaterial(self.model, plain, None))
        self.assertEqual(self.model.by_type("IfcMaterial")[0].Name, "Concrete")
        for call, error in [
            (lambda: Utils.CreateStraightStructure(self.model, "Roof", "R", profile, 1.0, (0, 0, 0),
                                                   (0, 0, 1), (1, 0, 0)), ValueError),
            (lambda: Utils.CreateArcStructure(self.model, "Column", "C", profile, axis, 1.0,
                                              (0, 0, 0), (0, 0, 1), (1, 0, 0)), ValueError),
            (lambda: Utils.CreateStraightStructure(self.model, "Beam", "B", profile, 1.0, (0, 0),
                                                   (0, 0, 1), (1, 0, 0)), TypeError),
            (lambda: Utils.CreateAssembly(new_model(), "A", [plain]), RuntimeError),
        ]:
            with self.subTest(error=error), self.assertRaises(error):
                call()
        self.assertEqual(len(Utils.create_guid()), 22)
        self.assertEqual(self.model.validate(), [])

    def test_section_queries_and_joint_geometry(self):
        for kind, expected in [(21, True), (22.0, True), (51, True), (20, False), (24, False),
                               (101, False)]:
            with self.subTest(kind=kind):
                self.assertIs(Utils.IsTaper(kind), expected)
        for kind, paras, height in [
            (1, ["1", "300", "600"], 600.0),
            (3, "3,500,0", 500.0),
            (22, ["22", "10", "600", "800", "400", "12"], 800.0),
            (4, ["4", "400", "6"], 400 * math.cos(math.pi / 6)),
        ]:
            with self.subTest(kind=kind, paras=paras):
                self.assertAlmostEqual(Utils.getHeightOfSect(kind, paras), height, places=9)
        with self.assertRaises(Sect.SectionError):
            Utils.getHeightOfSect(1, ["1", "300"])
        v = Vector(6000, 0, 0)
        self.assertEqual(tuple(Utils.reviseDirection(v, 21, ["21", "300", "800", "500"])),
                         (6000.0, 0.0, 150.0))
        self.assertEqual(tuple(v), (6000.0, 0.0, 0.0))
        self.assertEqual(Utils.findIntersection(0, 0, 10, 0, 5, -5, 5, 5), (5.0, 0.0))
        beam = Beam.getBeams(SAMPLE)[0]
        p1, p2 = Utils.getCentLineOffset(with_fields(beam, f2=100.0), "beam")
        self.assertEqual((tuple(p1), tuple(p2)), ((0.0, 100.0, 0.0), (3000.0, 100.0, 0.0)))
        with self.assertRaises(TypeError):
            Utils.IsTaper(kind=21)  # by position only

    def test_slabs_cantilever_slabs_and_their_openings(self):
        def outline(z3):
            corners = [(0, 0, 0), (6000, 0, 0), (6000, 6000, z3), (0, 6000, 0)]
            return [[corners[i], corners[(i + 1) % 4]] for i in range(4)]

        square, warped = outline(0), outline(900)
        slab = (1, "0,6000,6000,0,", "0,0,6000,6000,", "0,0,0,0,", 9999, 6, 5, [1, 2, 3, 4])
        fold = [(5, "FoldedSlab_nPt", "4,4"),
                (5, "FoldedSlab_PosWid", "1000,1000,3000,1000,3000,3000,1000,3000,1000,1000,3000,"
                 "1000,100,3000,1000,3000,3000,0,3000,3000,1000,3000,0,1000,3000,1000,1000,0,50,200")]
        for row, cords, props, names, kinds, printed in [
            (slab, square, [], ["Slab_5"], ["IfcSlab"], ""),
            (with_fields(slab, f4=0), square, [], ["Slab_5"], ["IfcVirtualElement"], ""),
            (with_fields(slab, f3="0,0,900,0,"), warped, [], ["Slab_5_1", "Slab_5_2"],
             ["IfcSlab"] * 2, "楼板5未生成\n"),
            (with_fields(slab, f1="0,6000,", f2="0,0,", f3="0,0,"), square, [], [], [],
             "楼板5未生成\n"),
            (with_fields(slab, f1="", f2="", f3=""), square, [], [], [], ""),
            (slab, square, fold, ["Slab_5"], ["IfcSlab"], ""),
        ]:
            with self.subTest(row=row, props=bool(props)):
                slabs, output = self.build(Utils.CreateSlab, row, STD_FLOOR, 120.0, cords, [], props)
                self.assertEqual([p.Name for p in slabs], names)
                self.assertEqual([p.is_a() for p in slabs], kinds)
                self.assertTrue(output.startswith(printed), output)
        self.assertEqual([Utils.getSlabThick(with_fields(slab, f4=t), 120.0) for t in (9999, 0, 150)],
                         [120.0, 10, 150])
        panel = Utils.CreateSlab(self.model, slab, STD_FLOOR, 120.0, square, [], [])[0]
        hole = (1, 5, 1000.0, 1000.0, 0.0, 1, "1,600,400", 3, 0.0, 0.0)
        openings, _ = self.build(Utils.CreateHolesInSlab, panel, slab, [hole], 120.0)
        self.assertEqual([o.Name for o in openings], ["Slab_Hole"])
        cut, union = Utils.createBooleanSolids(self.model, fold, 120.0, 3600.0, 0,
                                               points=[Vector(0, 0, 3600), Vector(6000, 0, 3600),
                                                       Vector(6000, 6000, 3600)])
        self.assertEqual((cut.is_a(), union.is_a()), ("IfcExtrudedAreaSolid",) * 2)
        # The panel's frame starts at its first outline point, its x axis towards the second:
        # here the floor's own, so the outline is drawn as without points.
        in_plan, _ = Utils.createBooleanSolids(self.model, fold, 120.0, 3600.0, 0)
        self.assertEqual([p.Coordinates for p in cut.SweptArea.OuterCurve.Points],
                         [p.Coordinates for p in in_plan.SweptArea.OuterCurve.Points])
        with self.assertRaises(Utils.MemberFault):
            Utils.createBooleanSolids(self.model, [], 120.0, 3600.0, 0)
        canti = (1, 9, 0.0, 0.0, 1.0, 0.0, 1500, 0, 0.0, 0.0, 6000.0, 0.0, 1, 1.0, None, None, 0.0, 0.0)
        for row, slabs, name, thickness, printed in [
            (canti, [slab], "CantiSlab_9", 120.0, ""),
            (with_fields(canti, f12=77), [slab], "CantiSlab_9", 120.0,
             "CantiSlab_9, 板厚为0但无邻接板\n"),
            (with_fields(canti, f4=0.0), [slab], None, 120.0, "CantiSlab_9, "),
        ]:
            with self.subTest(canti=row):
                product, output = self.build(Utils.CreateCantiSlab, row, STD_FLOOR, 120.0, slabs)
                self.assertEqual(product.Name if product else None, name)
                self.assertTrue(output.startswith(printed), output)
        self.assertEqual(Utils.getCantiSlabThick(canti, 120.0, [slab]), 120.0)
        self.assertEqual(self.model.validate(), [])

    def test_face_and_edge_utilities_read_the_hosts_own_objects(self):
        class Vertex:
            def __init__(self, x, y, z):
                self.X, self.Y, self.Z = x, y, z

        class Edge:
            def __init__(self, a, b):
                self.Vertexes = [Vertex(*a), Vertex(*b)]

        class Face:
            CenterOfMass = Vector(0, 0, 50)

            def normalAt(self, u, v):
                return Vector(0, 0, 2)

        self.assertEqual(Utils.distance(Vertex(0, 0, 0), vertex2=Vertex(3, 4, 0)), 5.0)
        corner, vx, vy = Utils.getPositionAndDirection(
            [Edge((0, 0, 0), (0, 100, 0)), Edge((0, 0, 0), (100, 0, 0))])
        self.assertEqual([tuple(v) for v in (corner, vx, vy)],
                         [(0.0, 0.0, 0.0), (100.0, 0.0, 0.0), (0.0, 100.0, 0.0)])
        with self.assertRaises(ArithmeticError):
            Utils.getPositionAndDirection([Edge((0, 0, 0), (100, 0, 0))])
        self.assertEqual(tuple(Utils.intersecLinePlane(Vector(1, 1, 0), Vector(1, 1, 1), Face())),
                         (1.0, 1.0, 50.0))
        self.assertIsNone(Utils.intersecLinePlane(Vector(0, 0, 0), Vector(1, 0, 0), Face()))
        points = [Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0)]
        normal, same = Utils.adjustPoints(points)
        self.assertIs(same, points)
        normal, turned = Utils.adjustPoints(points[::-1])
        self.assertEqual(([tuple(p) for p in turned], tuple(normal)),
                         ([(0.0, 0.0, 0.0), (1.0, 0.0, 0.0), (0.0, 1.0, 0.0)], (-0.0, -0.0, 1.0)))

    def test_builders_run_from_several_host_threads_at_once(self):
        rows = [with_fields(COLUMN, f1=i, f5=1000.0 * i) for i in range(40)]
        with Pool(4) as pool:
            built = pool.map(lambda row: Utils.CreateColumn(self.model, row, STD_FLOOR), rows)
        self.assertEqual([b[0].Name for b in built], [f"Columm_{i}" for i in range(40)])
        self.assertEqual(len(self.model.by_type("IfcRectangleProfileDef")), 1)  # one cache
        self.assertEqual(self.model.validate(), [])


if __name__ == "__main__":
    unittest.main()

"""Vector and DraftVecUtils as a script sees them: construction, the host protocols and the
edge cases of equality, indexing, iteration, normalisation, planes, rotation and angles."""

import copy
import math
import pickle
import unittest

from App import DraftVecUtils, GeometryError, Vector, tolerance


def components(v):
    return (v.x, v.y, v.z)


class VectorProtocolTest(unittest.TestCase):
    def test_construction_converts_each_component_as_float_does(self):
        for args, expected in [
            ((1, 2, 3), (1.0, 2.0, 3.0)),
            (("1.5", " 2 ", 3.0), (1.5, 2.0, 3.0)),
            ((True, 0, -0.0), (1.0, 0.0, -0.0)),
        ]:
            with self.subTest(args=args):
                v = Vector(*args)
                self.assertEqual(components(v), expected)
                self.assertTrue(all(type(c) is float for c in v))
        self.assertEqual(components(Vector(z=3, x=1, y=2)), (1.0, 2.0, 3.0))
        for bad in [(1, 2), (1, 2, 3, 4), (1, "x", 3), (1, None, 3)]:
            with self.subTest(bad=bad), self.assertRaises((TypeError, ValueError)):
                Vector(*bad)

    def test_sequence_protocols_and_text_form(self):
        v = Vector(1, 2, 3)
        self.assertEqual(len(v), 3)
        self.assertTrue(Vector(0, 0, 0))  # three items: always true
        self.assertEqual(list(v), [1.0, 2.0, 3.0])
        self.assertEqual(tuple(v), (1.0, 2.0, 3.0))  # again: iteration starts afresh
        self.assertEqual((repr(v), str(v)), ("(1.0, 2.0, 3.0)", "(1.0, 2.0, 3.0)"))
        self.assertEqual(repr(Vector(1e20, 0.1, -1e-05)), "(1e+20, 0.1, -1e-05)")
        for index, expected in [(0, 1.0), (1, 2.0), (2, 3.0), (1.0, 2.0), (True, 2.0)]:
            with self.subTest(index=index):
                self.assertEqual(v[index], expected)
        for index in [3, -1, 0.5, "1", None]:
            with self.subTest(index=index), self.assertRaisesRegex(IndexError, "^illegal index$"):
                v[index]

    def test_explicit_next_counts_once_and_a_copy_starts_again(self):
        v = Vector(1, 2, 3)
        self.assertEqual([next(v), next(v), next(v)], [1.0, 2.0, 3.0])
        for _ in range(2):
            with self.assertRaises(StopIteration):
                next(v)
        self.assertEqual(v._cur_index, 3)
        self.assertEqual(list(v), [1.0, 2.0, 3.0])  # iteration ignores the cursor
        for duplicate in [copy.copy(v), copy.deepcopy(v), pickle.loads(pickle.dumps(v))]:
            with self.subTest(duplicate=duplicate):
                self.assertIs(type(duplicate), Vector)
                self.assertEqual(components(duplicate), (1.0, 2.0, 3.0))
                self.assertEqual(duplicate._cur_index, 0)
                self.assertEqual(next(duplicate), 1.0)

    def test_equality_is_tolerant_and_takes_any_three_item_indexable(self):
        self.assertEqual(tolerance, 1e-05)
        for other, equal in [
            (Vector(1.003, 0, 0), True),  # squared distance 9e-06
            (Vector(1.0032, 0, 0), False),  # 1.024e-05
            ([1, 0, 0], True),
            ((1.0, 0.0, 0.0, "ignored"), True),
            ((1, 0, 1), False),
        ]:
            with self.subTest(other=other):
                self.assertIs(Vector(1, 0, 0) == other, equal)
                self.assertIs(Vector(1, 0, 0) != other, not equal)
                self.assertIs(other == Vector(1, 0, 0), equal)
        for other in [None, 5, [1, 0]]:
            with self.subTest(other=other), self.assertRaises((TypeError, IndexError)):
                Vector(1, 0, 0) == other
        with self.assertRaises(TypeError):
            hash(Vector(1, 0, 0))

    def test_operators_make_new_vectors_and_in_place_operations_return_self(self):
        v = Vector(1, 2, 3)
        for result, expected in [
            (v + Vector(1, 1, 1), (2.0, 3.0, 4.0)),
            (v - Vector(1, 1, 1), (0.0, 1.0, 2.0)),
            (-v, (-1.0, -2.0, -3.0)),
            (v * 2, (2.0, 4.0, 6.0)),
            (v / 2, (0.5, 1.0, 1.5)),
            (v.cross(Vector(0, 0, 1)), (2.0, -1.0, 0.0)),
            (Vector.from_np([4, 5, 6, 7]), (4.0, 5.0, 6.0)),
            (Vector.from_np(v.to_np()), (1.0, 2.0, 3.0)),
        ]:
            with self.subTest(expected=expected):
                self.assertIs(type(result), Vector)
                self.assertIsNot(result, v)
                self.assertEqual(components(result), expected)
        self.assertEqual(components(v), (1.0, 2.0, 3.0))
        self.assertEqual(v.dot(Vector(1, 1, 1)), 6.0)
        self.assertEqual(v.Length, math.sqrt(14))
        for expression in [lambda: 2 * v, lambda: v * v, lambda: v + [1, 1, 1], lambda: v.dot((1, 1, 1))]:
            with self.assertRaises(TypeError):
                expression()
        with self.assertRaises(ZeroDivisionError):
            v / 0
        self.assertIs(v.multiply(2), v)
        self.assertEqual(components(v), (2.0, 4.0, 6.0))
        v.x = 7
        self.assertEqual(v[0], 7.0)

    def test_normalize_leaves_nearly_zero_and_nearly_unit_vectors_alone(self):
        for start, expected in [
            ((0, 0, 5), (0.0, 0.0, 1.0)),
            ((3, 4, 0), (0.6, 0.8, 0.0)),
            ((0, 0, 0), (0.0, 0.0, 0.0)),
            ((0, 0, 0.000009), (0.0, 0.0, 0.000009)),
            ((0, 0, 1.000001), (0.0, 0.0, 1.000001)),
        ]:
            with self.subTest(start=start):
                v = Vector(*start)
                self.assertIs(v.normalize(), v)
                self.assertEqual(components(v), expected)

    def test_angles_and_planes(self):
        for a, b, expected in [
            ((1, 0, 0), (0, 1, 0), math.pi / 2),
            ((1, 0, 0), (-1, 0, 0), math.pi),
            ((1, 2, 3), (0, 0, 0), 0.0),
        ]:
            with self.subTest(a=a, b=b):
                self.assertEqual(Vector(*a).getAngle(Vector(*b)), expected)
        p = Vector(1, 2, 3)
        for normal in [(0, 0, 2), (0, 0, -2)]:
            with self.subTest(normal=normal):
                n = Vector(*normal)
                self.assertEqual(p.distanceToPlane(Vector(0, 0, 0), n), 3.0)
                projected = p.projectToPlane(Vector(0, 0, 0), n)
                self.assertEqual(components(projected), (1.0, 2.0, 0.0))
                self.assertEqual(components(n), (0.0, 0.0, normal[2] / 2))  # the caller's n
        with self.assertRaises(GeometryError):
            p.distanceToPlane(Vector(0, 0, 0), Vector(0, 0, 0))
        self.assertTrue(issubclass(GeometryError, ArithmeticError))


class DraftVecUtilsTest(unittest.TestCase):
    def test_rotate_turns_right_handed_about_any_axis(self):
        half_pi = math.pi / 2
        for v, angle, axis, expected in [
            ((1, 0, 0), half_pi, None, (6.123233995736766e-17, 1.0, 0.0)),
            ((1, 0, 0), half_pi, (0, 1, 0), (6.123233995736766e-17, 0.0, -1.0)),
            ((1, 0, 0), half_pi, (0, 2, 0), (2.220446049250313e-16, 0.0, -1.0)),
            ((0, 1, 0), half_pi, (1, 0, 0), (0.0, 6.123233995736766e-17, 1.0)),
            ((1, 0, 0), half_pi, (0, 0, -1), (2.220446049250313e-16, -1.0, 0.0)),
            ((1, 2, 3), 0.7, (1, 1, 1), (1.6070970678589107, 1.2561214897132018, 3.1367814424278873)),
        ]:
            with self.subTest(v=v, axis=axis):
                original, turn_axis = Vector(*v), Vector(*(axis or (0, 0, 1)))
                args = (original, angle) if axis is None else (original, angle, turn_axis)
                result = DraftVecUtils.rotate(*args)
                for got, want in zip(result, expected):
                    self.assertAlmostEqual(got, want, places=15)
                self.assertEqual(components(original), tuple(float(c) for c in v))
        self.assertEqual(list(DraftVecUtils.rotate(v=Vector(1, 0, 0), angle=0.0, axis=Vector(0, 0, 1))),
                         [1.0, 0.0, 0.0])
        with self.assertRaises(GeometryError):
            DraftVecUtils.rotate(Vector(1, 0, 0), 1.0, Vector(0, 0, 0))

    def test_signed_angle_and_its_defaults(self):
        for args, expected in [
            ((Vector(1, 0, 0), Vector(0, 1, 0)), math.pi / 2),
            ((Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, -1)), -math.pi / 2),
            ((Vector(0, 1, 0),), -math.pi / 2),
            ((Vector(1, 0, 0), Vector(-1, 0, 0)), math.pi),
        ]:
            with self.subTest(args=args):
                self.assertEqual(DraftVecUtils.angle(*args), expected)
        zero = DraftVecUtils.angle(Vector(0, 0, 0), Vector(1, 0, 0))
        self.assertEqual((zero, type(zero)), (0, int))
        with self.assertRaises(TypeError):
            DraftVecUtils()


if __name__ == "__main__":
    unittest.main()

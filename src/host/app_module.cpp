// Module App: the Vector type with the host's protocols (arithmetic, indexing, iteration, text
// form, tolerant equality, copying) and the DraftVecUtils rotation and signed angle.

#include <pybind11/operators.h>
#include <pybind11/pybind11.h>

#include <string>

#include "host/entry_points.h"
#include "host/errors.h"
#include "host/numbers.h"
#include "vector/draft_vec_utils.h"
#include "vector/vector.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

using App::Vector;

// The cursor of the explicit next-element protocol lives in the instance's dictionary, so a
// Vector stays the plain C++ value everywhere else.
py::ssize_t cursorOf(py::handle self) {
  py::dict attributes = self.attr("__dict__");
  return attributes.contains("_cur_index") ? attributes["_cur_index"].cast<py::ssize_t>() : 0;
}
void setCursor(py::handle self, py::ssize_t value) {
  py::dict attributes = self.attr("__dict__");
  attributes["_cur_index"] = value;
}

std::string text(const Vector& v) {
  auto component = [](double c) { return py::repr(py::float_(c)).cast<std::string>(); };
  return "(" + component(v.x) + ", " + component(v.y) + ", " + component(v.z) + ")";
}

// Equality against anything indexable by 0, 1 and 2; anything else raises.
bool equals(const Vector& self, const py::object& other) {
  const double o[3] = {asFloat(other[py::int_(0)]), asFloat(other[py::int_(1)]),
                       asFloat(other[py::int_(2)])};
  return self == o;
}

void defineVector(py::module_& m) {
  py::class_<Vector> v(m, "Vector", py::dynamic_attr(), "A 3-D point or direction in millimetres.");
  v.def(py::init([](py::handle x, py::handle y, py::handle z) {
          return Vector(asFloat(x), asFloat(y), asFloat(z));
        }),
        "x"_a, "y"_a, "z"_a)
      .def_readwrite("x", &Vector::x)
      .def_readwrite("y", &Vector::y)
      .def_readwrite("z", &Vector::z)
      .def_property("_cur_index", &cursorOf, &setCursor)
      .def_property_readonly("Length", &Vector::Length)
      // No NumPy on the host: the three components as a new list, which from_np and
      // numpy.asarray both take.
      .def("to_np",
           [](const Vector& self) {
             py::list components;
             for (double c : self) components.append(c);
             return components;
           })
      .def_static(
          "from_np",
          [](const py::object& n) {
            return Vector(asFloat(n[py::int_(0)]), asFloat(n[py::int_(1)]),
                          asFloat(n[py::int_(2)]));
          },
          "n"_a)
      .def("dot", &Vector::dot, "v"_a)
      .def("cross", &Vector::cross, "v"_a)
      .def("getAngle", &Vector::getAngle, "v"_a)
      .def(
          "multiply",
          [](py::object self, double m) {
            self.cast<Vector&>().multiply(m);
            return self;
          },
          "m"_a)
      .def("normalize",
           [](py::object self) {
             self.cast<Vector&>().normalize();
             return self;
           })
      .def("distanceToPlane", &Vector::distanceToPlane, "v"_a, "n"_a)
      .def("projectToPlane", &Vector::projectToPlane, "v"_a, "n"_a)
      .def("__len__", [](const Vector&) { return 3; })
      .def("__getitem__",
           [](const Vector& self, const py::object& index) {
             // Any number equal to 0, 1 or 2 selects; everything else is an illegal index.
             if (!PyNumber_Check(index.ptr()) || py::isinstance<py::str>(index)) {
               throw py::index_error("illegal index");
             }
             return self[asFloat(index)];
           })
      .def("__iter__",
           [](const Vector& self) { return py::iter(py::make_tuple(self.x, self.y, self.z)); })
      .def("__next__",
           [](py::object self) {
             const py::ssize_t i = cursorOf(self);
             if (i > 2) throw py::stop_iteration();
             setCursor(self, i + 1);
             return self.cast<const Vector&>()[static_cast<double>(i)];
           })
      .def("__repr__", &text)
      .def("__str__", &text)
      .def("__eq__", &equals)
      .def("__ne__",
           [](const Vector& self, const py::object& other) { return !equals(self, other); })
      .def(
          "__add__", [](const Vector& a, const Vector& b) { return a + b; }, py::is_operator())
      .def(
          "__sub__", [](const Vector& a, const Vector& b) { return a - b; }, py::is_operator())
      .def(
          "__neg__", [](const Vector& a) { return -a; }, py::is_operator())
      .def(
          "__mul__", [](const Vector& a, double m) { return a * m; }, py::is_operator())
      .def(
          "__truediv__",
          [](const Vector& a, double m) {
            if (m == 0.0) {
              PyErr_SetString(PyExc_ZeroDivisionError, "float division by zero");
              throw py::error_already_set();
            }
            return a / m;
          },
          py::is_operator())
      .def("__reduce__", [](const py::object& self) {
        const Vector& c = self.cast<const Vector&>();
        return py::make_tuple(py::type::of(self), py::make_tuple(c.x, c.y, c.z));
      });
}

// A class that is never instantiated; its two functions are called on the class.
struct DraftVecUtilsFunctions {};

void defineDraftVecUtils(py::module_& m) {
  py::class_<DraftVecUtilsFunctions>(m, "DraftVecUtils",
                                     "Rotation about an axis and signed angle, in radians.")
      .def_static(
          "rotate",
          [](const Vector& v, double angle, const Vector& axis) {
            return App::DraftVecUtils::rotate(v, angle, axis);
          },
          "v"_a, "angle"_a, "axis"_a = Vector(0, 0, 1))
      .def_static(
          "angle",
          [](const Vector& u, const Vector& v, const Vector& normal) -> py::object {
            // The integer 0, not 0.0, when either vector has length zero.
            if (u.Length() * v.Length() == 0.0) return py::int_(0);
            return py::float_(App::DraftVecUtils::angle(u, v, normal));
          },
          "u"_a, "v"_a = Vector(1, 0, 0), "normal"_a = Vector(0, 0, 1));
}

}  // namespace

void initApp(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "Vector geometry: the Vector type and DraftVecUtils.";
  py::register_exception<App::GeometryError>(m, "GeometryError", PyExc_ArithmeticError);
  m.attr("tolerance") = App::tolerance;
  defineVector(m);
  defineDraftVecUtils(m);
}

}  // namespace host

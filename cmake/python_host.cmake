# The Python host of the modules in src/host: Debian's interpreter, the one whose headers and
# pybind11 python3-dev and pybind11-dev install. Another python3 earlier on PATH (a pyenv
# build, a virtual environment) may be another build; -DPython_EXECUTABLE=... picks one.
if(EXISTS /usr/bin/python3)
  set(Python_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "Python interpreter of the host modules")
endif()
find_package(Python 3.8 REQUIRED COMPONENTS Interpreter Development.Module)
set(PYBIND11_FINDPYTHON ON)
find_package(pybind11 CONFIG REQUIRED)

# The static libraries end up in the modules' shared library.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Where the modules are built; a script finds them with PYTHONPATH set to it.
set(SDB2IFC_PYTHON_DIR ${CMAKE_BINARY_DIR}/python)

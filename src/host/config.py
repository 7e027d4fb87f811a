"""The run context that the member builders of Utils and Sect.makeProfiles read.

Verdamo.Create keeps the run context of its conversion to itself. A script that calls the
builders on a model of its own assigns, before the first call:

    config.origin       an IfcCartesianPoint (0.0, 0.0, 0.0) of that model
    config.directionX   an IfcDirection (1.0, 0.0, 0.0)
    config.directionY   an IfcDirection (0.0, 1.0, 0.0)
    config.directionZ   an IfcDirection (0.0, 0.0, 1.0)
    config.placement    an IfcAxis2Placement3D at config.origin with Axis config.directionZ
                        and RefDirection config.directionX
    config.dict_profile {}: the profile cache; assigning a new object starts a new cache

A builder called before they are assigned, or with entities of another model, raises
RuntimeError naming what is missing.
"""

"""The run context that the member builders of Utils and Sect.makeProfiles read.

A script that calls the builders on a model of its own assigns, before the first call:

    config.origin       an IfcCartesianPoint (0.0, 0.0, 0.0) of that model
    config.directionX   an IfcDirection (1.0, 0.0, 0.0)
    config.directionY   an IfcDirection (0.0, 1.0, 0.0)
    config.directionZ   an IfcDirection (0.0, 0.0, 1.0)
    config.placement    an IfcAxis2Placement3D at config.origin with Axis config.directionZ
                        and RefDirection config.directionX
    config.dict_profile {}: the profile cache, a list of profiles per dimension text; the
                        builders look a text up here first and store what they build here,
                        so a script may prefill or clear it, or assign a new one

Verdamo.Create assigns them for its own model as its run begins, and leaves them there with
the profiles of its run in config.dict_profile.

A builder called before they are assigned, or with entities of another model, raises
RuntimeError naming what is missing.
"""

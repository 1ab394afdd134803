import kxd

# get selected part
part = kxd.GetSelectedPart()

# is there a selected part?
if part:
    # rotate part 45 degrees around red axle
    part.Object3D.RotateRed(45)

import kxd

# get selected part
part = kxd.GetSelectedPart()

# is there a selected part?
if part:
    # change color to green
    part.Object3D.Color.GreenColor()
    # save changes on Object3D
    part.CommitChanges(True)
    # delete selection
    kxd.DeSelectAll()

import kxd

# get grid-object
grid = kxd.GetGrid()

# set line color to red
grid.Color.RedColor()

# grid lines every 20mm
grid.XStep = 2.0
grid.ZStep = 2.0

# enlarge grid
grid.XMin = -20
grid.XMax = 20
grid.ZMin = -20
grid.ZMax = 20

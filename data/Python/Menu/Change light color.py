import kxd

# get light no. 1
light = kxd.GetLightAtIndex(0)

# turn light on
light.TurnOn()

# set light color to blue
light.Color.BlueColor()

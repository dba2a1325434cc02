MotionModelASCII
x
	Version: 107
a
b
c
Material{
	"A"
	DoubleSided: 1
	Opacity: 1
	Glossiness: 0
	SpecularLevel: 0
	Emissive: 0 0 0
	Ambient: 0 0 0
	Diffuse: 1 0.5 0
	Specular: 0 0 0
	Textures: 4
	"a" "d.tga"
	"b" "n.tga"
	"c" "g.tga"
	"d" "x.tga"
}
MultiMaterial{
	"Multi"
	NumSubMaterials: 2
	"A"
	"B"
}
Helper{
	"Pivot"
	""
	dummy
	1 0 0
	0 1 0
	0 0 1
	0 0 5
}
Light{
	"Lamp"
	""
	omni
	1 0 0
	0 1 0
	0 0 1
	1 2 3
	"T"
	Color: 1 1 1
	Direction: 0 0 -1
	Intensity: 1
	SpotInnerAngle: 1
	SpotOuterAngle: 2
	none
	"S"
	DecayRadius: 1
	ShadowColor: 0 0 0
	ShadowDensity: 1
}
Camera{
	Mesh{
}
Mesh{
	"Quad"
	"Pivot"
	x
	-1 0 0
	0 1 0
	0 0 1
	0 0 0
	"A"
	NumTexChannels: 2
	Triangles: 2
	0 1 2 1
	2 1 3 -1
	Vertices: 4
	0 0 0 0 0 0 1 1 1 1 0 0 0.5 0.5
	1 1 0 0 0 0 1 1 1 1 1 0 0.5 0.5
	2 0 1 0 0 0 1 1 1 1 0 1 0.5 0.5
	3 1 1 0 0 0 1 1 1 1 1 1 0.5 0.5
}

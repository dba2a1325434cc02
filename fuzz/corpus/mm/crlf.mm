MotionModelASCII
exported
	Version: 107
line4
line5
line6
Material{
	"Stone"
	DoubleSided: 0
	Opacity: 1.0
	Glossiness: 0.1
	SpecularLevel: 0.0
	Emissive: 0 0 0
	Ambient: 0.2 0.2 0.2
	Diffuse: 0.8 0.6 0.4
	Specular: 1 1 1
	Textures: 1
	"Map" "stone.tga"
}
Mesh{
	"Tri"
	""
any text
	1 0 0
	0 1 0
	0 0 1
	0 0 0
	"Stone"
	NumTexChannels: 1
	Triangles: 1
	0 1 2 0
	Vertices: 3
	0 0 0 0 0 0 1 1 1 1 0 0
	1 1 0 0 0 0 1 1 1 1 1 0
	2 0 1 0 0 0 1 1 1 1 0 1
}
